# Every analysis run from R gives the numbers of the command line's --json for
# the same run, at full precision: korvel_analysis()'s document, from a data
# file and from a data frame, and the fit and test objects.
cat_run <- function(...) list(data = "cats", y = "Hwt", x = "Bwt", group = "Sex", options = list(...))
iris_run <- function(y, x, group, ...) list(data = "iris", y = y, x = x, group = group, options = list(...))
analyses <- list(
  cat_run(transform = "log10", chi_squared = TRUE, elevation_pairs = TRUE),
  cat_run(iterations = 200, elevation = TRUE, shift_pairs = TRUE),
  cat_run(method = "ols", seed = 7, iterations = 300, critical_p = 0.9, slope_pairs = TRUE),
  cat_run(method = "ma", transform = "ln", slope_h0 = 1, intercept_h0 = 0, chi_squared = TRUE),
  cat_run(origin = TRUE, chi_squared = TRUE, shift_pairs = TRUE, adjust = "holm"),
  cat_run(error_x = 0.01, error_y = 0.1, confidence = 0.9, chi_squared = TRUE, elevation = TRUE, slope_pairs = TRUE),
  cat_run(robust = TRUE, transform = "log10", chi_squared = TRUE, elevation_pairs = TRUE, shift = TRUE),
  iris_run("Petal.Width", "Petal.Length", "Species", seed = 11, iterations = 200, critical_p = 0.2,
           slope_pairs = TRUE, adjust = "sidak"),
  iris_run("Sepal.Width", "Sepal.Length", "Species", method = "ma", chi_squared = TRUE, critical_p = 1e-7,
           elevation_pairs = TRUE, shift_pairs = TRUE, adjust = "bonferroni"),
  iris_run("Petal.Width", "Petal.Length", NULL, transform = "log10", slope_h0 = 0.5, elevation = TRUE),
  iris_run("Petal.Width", "Petal.Length", "Species", method = "ols", robust = TRUE, error_x = 0.001,
           error_y = 0.0005, iterations = 19, seed = 5, critical_p = 0.1, slope_pairs = TRUE),
  cat_run(remove = list(Sex = "F"), slope_pairs = TRUE),
  cat_run(range = list(Bwt = c(2.2, 3.5)), remove = list(Bwt = "above"), min_group_size = 50, chi_squared = TRUE)
)
filtered <- function(run) any(c("remove", "range") %in% names(run$options))

for (run in analyses) {
  label <- paste(run$data, paste(names(run$options), run$options, collapse = " "))
  test_that(paste("the document of a file and of a data frame:", label), {
    skip_if(is.null(frames[[run$data]]), "no MASS")
    path <- data_file(frames[[run$data]])
    expected <- cli_json(path, run$y, run$x, run$group, run$options)
    said <- list()
    found <- withCallingHandlers(
      do.call(korvel_analysis, c(list(path, run$y, run$x, run$group), run$options)),
      korvel_warning = function(w) { said[[length(said) + 1L]] <<- w; invokeRestart("muffleWarning") })
    expect_identical(unclass(found), expected)
    expect_length(said, length(expected$not_done))
    if (!filtered(run)) {
      found <- suppressWarnings(do.call(korvel_analysis, c(list(frames[[run$data]], run$y, run$x, run$group),
                                                          run$options)))
      expect_identical(found$data$file, "data")
      found$data$file <- expected$data$file
      expect_identical(unclass(found), expected)
    }
  })
  if (filtered(run)) next
  test_that(paste("the fit and test objects:", label), {
    skip_if(is.null(frames[[run$data]]), "no MASS")
    o <- run$options
    expected <- cli_json(data_file(frames[[run$data]]), run$y, run$x, run$group, o)
    fit <- korvel(stats::reformulate(run$x, run$y), frames[[run$data]], group = run$group,
                  method = o$method %||% "sma", transform = o$transform %||% "none", origin = isTRUE(o$origin),
                  robust = isTRUE(o$robust), error = if (!is.null(o$error_x)) c(x = o$error_x, y = o$error_y),
                  confidence = o$confidence %||% 0.95, slope_h0 = o$slope_h0, intercept_h0 = o$intercept_h0)
    expect_rows(fit$groups, expected$groups)
    expect_identical(nobs(fit), expected$data$points_analysed)
    test <- suppressWarnings(common_slope_test(fit, isTRUE(o$chi_squared), o$iterations %||% 1000, o$seed,
                                               o$critical_p %||% 0.05))
    if (is.null(expected$common_slope_test)) return(expect_type(test, "character"))
    expect_fields(test, expected$common_slope_test)
    adjust <- o$adjust %||% "none"
    if (isTRUE(o$slope_pairs)) for (again in 1:2) { # the test's stream, the same on every call
      pairs <- suppressWarnings(slope_pairs(test, adjust))
      if (is.null(expected$slope_pairs)) expect_type(pairs, "character") else expect_rows(pairs, expected$slope_pairs)
    }
    wald_tests <- expected$wald_tests
    for (name in c("elevation", "shift")) if (isTRUE(o[[name]]) || isTRUE(o[[paste0(name, "_pairs")]])) {
      wald <- suppressWarnings(get(paste0(name, "_test"))(test, isTRUE(o[[paste0(name, "_pairs")]]), adjust))
      if (!length(wald_tests) || wald_tests[[1L]]$test != name) { expect_type(wald, "character"); next }
      want <- wald_tests[[1L]]
      wald_tests <- wald_tests[-1L]
      expect_fields(wald, want, skip = "pairs")
      if (is.null(want$pairs)) expect_null(wald$pairs) else expect_rows(wald$pairs, want$pairs)
      expect_rows(wald$lines, expected$lines_with_common_slope$groups)
    }
  })
}

test_that("missing values and two grouping columns give the command line's numbers", {
  skip_if(is.null(frames$cats), "no MASS")
  gaps <- frames$cats
  gaps$Hwt[seq(1, 144, 9)] <- NA
  gaps$Size <- factor(ifelse(gaps$Bwt > 2.5, "big", "small"))
  options <- list(chi_squared = TRUE, critical_p = 0.1, slope_pairs = TRUE, adjust = "holm")
  expected <- cli_json(data_file(gaps), "Hwt", "Bwt", c("Sex", "Size"), options)
  found <- do.call(korvel_analysis, c(list(gaps, "Hwt", "Bwt", c("Sex", "Size")), options))
  found$data$file <- expected$data$file
  expect_identical(unclass(found), expected)
  expect_identical(expected$data$lines_left_out$total, 16L)
  expect_rows(korvel(Hwt ~ Bwt | Sex + Size, gaps)$groups, expected$groups)
})
