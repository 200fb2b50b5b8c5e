# What the package does besides the command line's numbers: lm's numbers for
# OLS, its refusals, missing values, the warning of a test that does not
# apply, predictions and scores, the plot and the user's interrupt.
skip_if_not_installed("MASS")
cats <- MASS::cats

test_that("OLS lines, their limits and residuals are lm's, sex by sex", {
  fit <- korvel(Hwt ~ Bwt | Sex, cats, method = "ols", confidence = 0.9)
  for (sex in c("F", "M")) {
    ols <- lm(Hwt ~ Bwt, cats, subset = Sex == sex)
    expect_equal(unname(coef(fit)[sex, ]), unname(coef(ols)), tolerance = 1e-12)
    expect_equal(unname(confint(fit)[paste0(sex, c(":intercept", ":slope")), ]),
                 unname(confint(ols, level = 0.9)), tolerance = 1e-12)
    expect_equal(residuals(fit)[names(residuals(ols))], residuals(ols), tolerance = 1e-12)
    expect_equal(unname(confint(fit, "slope", level = 0.99)[paste0(sex, ":slope"), ]),
                 unname(confint(ols, "Bwt", level = 0.99)[1, ]), tolerance = 1e-12)
  }
  expect_equal(fitted(fit), setNames(cats$Bwt, rownames(cats))) # OLS's fitted axis is X
  expect_equal(tidy(fit)$conf.low, as.vector(confint(fit)[, 1]))
})

test_that("refusals name the value", {
  refusals <- list(
    list(quote(korvel(Hwt ~ Bwt, cats, method = "rma")), "method rma: not one of ols, sma, ma"),
    list(quote(korvel(Hwt ~ Bwt, cats, confidence = 0.953)), "confidence 0.953: not a fraction in whole percents from 0.01 to 0.99"),
    list(quote(korvel(Hwt ~ Bwt, cats, min_group_size = 51)), "minimum group size 51"),
    list(quote(korvel(Hwt ~ Bwt, cats, error = c(-1, 1))), "error_x -1: not a number from 0 up"),
    list(quote(korvel(Hwt ~ Bwt, cats, origin = TRUE, intercept_h0 = 1)), "intercept-h0"),
    list(quote(elevation_test(common_slope_test(korvel(Hwt ~ Bwt | Sex, cats, origin = TRUE)))), "elevation"),
    list(quote(common_slope_test(korvel(Hwt ~ Bwt | Sex, cats), seed = 0)), "seed 0"),
    list(quote(common_slope_test(korvel(Hwt ~ Bwt | Sex, cats), iterations = 1.5)), "iterations 1.5: not a whole number"),
    list(quote(korvel(Hwt ~ Bwt | Breed, cats)), "Breed: no such column"),
    list(quote(korvel_analysis(cats, "Sex", "Bwt")), "Sex: not a column of numbers"),
    list(quote(korvel_analysis("no-such-file.txt", "Hwt", "Bwt")), "no-such-file.txt"),
    list(quote(korvel_analysis(cats, "Hwt", "Bwt", remove = list(Sex = "F"))), "apply to a data file"),
    list(quote(korvel_analysis(data_file(cats), "Hwt", "Bwt", range = list(Bwt = c(3, 2)))), "minimum below the maximum"),
    list(quote(korvel_analysis(cats, "Hwt", "Bwt", adjust = c("holm", "sidak"))), "adjust: not a single string"))
  for (r in refusals) expect_error(eval(r[[1]]), r[[2]], fixed = TRUE, label = deparse(r[[1]]))
})

test_that("rows with a missing value are left out and counted", {
  gaps <- cats
  gaps$Hwt[seq(1, 144, 9)] <- NA
  gaps$Sex[c(2, 3)] <- NA
  fit <- korvel(Hwt ~ Bwt, gaps, group = "Sex")
  expect_identical(fit$data$lines_left_out$total, 18L)
  expect_identical(nobs(fit), 126L)
  expect_identical(names(residuals(fit)), rownames(gaps)[complete.cases(gaps)])
  expect_equal(as.vector(tapply(residuals(fit), gaps$Sex[complete.cases(gaps)], sum)), c(0, 0), tolerance = 1e-12)
  expect_identical(nobs(korvel(Hwt ~ Bwt | Sex, gaps, subset = Bwt > 2.5)), sum(complete.cases(gaps) & gaps$Bwt > 2.5))
})

test_that("a test that does not apply warns why and returns the reason", {
  common <- common_slope_test(korvel(Hwt ~ Bwt | Sex, cats), chi_squared = TRUE)
  cases <- list(list(quote(slope_pairs(common)), "slope_pairs: the slopes do not differ"),
                list(quote(shift_test(common_slope_test(korvel(Hwt ~ Bwt | Sex, cats), chi_squared = TRUE,
                                                        critical_p = 0.9))), "shift_pairs: the slopes differ"),
                list(quote(common_slope_test(korvel(Hwt ~ Bwt, cats))), "common_slope_test: a single group"))
  for (case in cases) {
    expect_warning(reason <- eval(case[[1]]), case[[2]], fixed = TRUE, class = "korvel_warning")
    expect_true(startsWith(case[[2]], sub(" .*", "", reason)) || grepl(sub(".*: ", "", case[[2]]), reason))
  }
  expect_warning(wald <- elevation_test(common_slope_test(korvel(Hwt ~ Bwt | Sex, cats), chi_squared = TRUE,
                                                          critical_p = 1e-9)), "elevation_pairs: no shift")
  expect_null(wald$pairs)
  expect_output(print(common_slope_test(korvel(Hwt ~ Bwt | Sex, cats), chi_squared = TRUE, critical_p = 0.9)),
                "Common slope [0-9.]+: the slopes differ at p = 0.9")
})

test_that("predictions are on the data's own scale, the same power law under either logarithm", {
  nd <- data.frame(Bwt = c(2, 2.5, 3.5), Sex = c("F", "M", "M"))
  ln <- korvel(Hwt ~ Bwt | Sex, cats, transform = "ln")
  log10 <- korvel(Hwt ~ Bwt | Sex, cats, transform = "log10")
  expect_equal(predict(ln, nd), predict(log10, nd), tolerance = 1e-12)
  means <- log10$groups # the line runs through the means of the logarithms
  expect_equal(predict(log10, data.frame(Bwt = 10^means$x_mean, Sex = means$group)), 10^means$y_mean,
               tolerance = 1e-12)
  expect_identical(predict(log10, data.frame(Bwt = 2, Sex = "X")), NA_real_)
})

test_that("the plot draws the power law on log axes with a legend", {
  grDevices::pdf(NULL)
  on.exit(grDevices::dev.off())
  plot(korvel(Hwt ~ Bwt | Sex, cats, transform = "log10", robust = TRUE))
  expect_true(par("xlog") && par("ylog"))
  grams <- 10^par("usr")[1:2] # the axis in the original units, around the data's range
  expect_true(grams[1] < min(cats$Bwt) && grams[1] > 1.5 && grams[2] > max(cats$Bwt) && grams[2] < 5)
})

test_that("the user's interrupt stops a long resampling", {
  skip_on_os("windows")
  fit <- korvel(Hwt ~ Bwt | Sex, cats)
  parent <- Sys.getpid()
  child <- parallel::mcparallel({ Sys.sleep(0.5); tools::pskill(parent, tools::SIGINT) })
  started <- Sys.time()
  stopped <- tryCatch(common_slope_test(fit, iterations = 1e7), interrupt = function(e) "interrupted")
  parallel::mccollect(child)
  expect_identical(stopped, "interrupted")
  expect_lt(as.numeric(Sys.time() - started, units = "secs"), 5)
})
