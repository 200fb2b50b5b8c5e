# The tests of a fit's lines in the program's order: the common slope, then
# the pairs of slopes when they differ, or the Wald tests of the lines with the
# common slope when they share it.

common_slope_test <- function(fit, chi_squared = FALSE, iterations = 1000, seed = NULL, critical_p = 0.05) {
  if (!inherits(fit, "korvel")) stop("fit: a fit made by korvel()", call. = FALSE)
  outcome <- .Call(C_korvel_common_slope, fit$engine, chi_squared, iterations, critical_p, seed)
  if (is.character(outcome)) return(not_done(outcome))
  found <- read_outcome(outcome)
  settings <- found$settings
  structure(c(fields_of(found$common_slope_test, c("slope_low", "slope_high")), iterations = settings$iterations,
              critical_p = settings$critical_p, seed = value_of(settings, "seed"),
              list(groups_tested = fit$groups$group, engine = outcome$handle)),
            class = "korvel_common_slope")
}

# What did not apply: a warning saying why, and the reason, returned invisibly.
not_done <- function(note) {
  warn(note)
  invisible(sub("^[a-z_]+: ", "", note))
}

check_test <- function(test) {
  if (!inherits(test, "korvel_common_slope")) stop("test: a test made by common_slope_test()", call. = FALSE)
}

slope_pairs <- function(test, adjust = "none") {
  check_test(test)
  outcome <- .Call(C_korvel_slope_pairs, test$engine, adjust)
  found <- jsonlite::fromJSON(outcome$document, simplifyVector = FALSE)
  if (is.null(found$slope_pairs)) return(not_done(outcome$notes))
  warn(outcome$notes)
  records_frame(found$slope_pairs)
}

elevation_test <- function(test, pairs = TRUE, adjust = "none") wald_test(test, "elevation", pairs, adjust)

shift_test <- function(test, pairs = TRUE, adjust = "none") wald_test(test, "shift", pairs, adjust)

wald_test <- function(test, name, pairs, adjust) {
  check_test(test)
  outcome <- .Call(C_korvel_shift_test, test$engine, name, pairs, adjust)
  found <- jsonlite::fromJSON(outcome$document, simplifyVector = FALSE)
  if (!length(found$wald_tests)) return(not_done(outcome$notes))
  warn(outcome$notes)
  wald <- fields_of(found$wald_tests[[1L]], "common_value")
  wald$pairs <- if (is.list(wald$pairs)) records_frame(wald$pairs) else NULL
  wald$lines <- records_frame(found$lines_with_common_slope$groups)
  structure(wald, class = "korvel_wald")
}

print.korvel_common_slope <- function(x, digits = max(3L, getOption("digits") - 3L), ...) {
  f <- function(v) format(v, digits = digits)
  cat(sprintf("Test for a common slope of %d groups (%d points): likelihood ratio %s, p %s (%s%s)\n", x$groups,
              x$points, f(x$statistic), f(x$p), x$p_value_from,
              if (x$p_value_from == "resampling") paste0(", ", x$iterations, " resamples") else ""))
  cat(sprintf("Common slope %s%s: the slopes %s at p = %s%s\n", f(x$slope),
              if (!is.na(x$slope_low)) paste0(" [", f(x$slope_low), ", ", f(x$slope_high), "]") else "",
              if (x$common) "do not differ" else "differ", f(x$critical_p),
              if (!x$settled) " (its iteration did not settle)" else ""))
  invisible(x)
}

print.korvel_wald <- function(x, digits = max(3L, getOption("digits") - 3L), ...) {
  cat(sprintf("Wald test for a shift %s: statistic %s, df %d, p %s%s\n",
              if (x$test == "elevation") "in elevation" else "along the common slope",
              format(x$statistic, digits = digits), x$df, format(x$p, digits = digits),
              if (!is.na(x$common_value)) paste0("; common value ", format(x$common_value, digits = digits)) else ""))
  if (!is.null(x$pairs)) {
    cat("\nPairs:\n")
    print(x$pairs, digits = digits, row.names = FALSE)
  }
  invisible(x)
}
