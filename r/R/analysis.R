# One analysis as a run of the command line with the same options makes it;
# the document its --json writes, as a list.
korvel_analysis <- function(data, y, x, group = NULL, method = "sma", transform = "none", origin = FALSE,
                            robust = FALSE, error_x = NULL, error_y = NULL, confidence = 0.95, min_group_size = 6,
                            chi_squared = FALSE, iterations = 1000, seed = NULL, critical_p = 0.05,
                            adjust = "none", slope_h0 = NULL, intercept_h0 = NULL, slope_pairs = FALSE,
                            elevation = FALSE, elevation_pairs = FALSE, shift = FALSE, shift_pairs = FALSE,
                            save = NULL, remove = NULL, range = NULL, format = NULL) {
  # The filters in the order given, as the command line's --remove and --range.
  given <- intersect(names(sys.call()), c("remove", "range"))
  filters <- list(remove = lapply(names(remove), function(v) lapply(as.character(remove[[v]]), function(value) c(v, value))),
                  range = lapply(names(range), function(v) list(c(v, as.character(range[[v]])))))
  filters <- unlist(unlist(filters[union(given, c("remove", "range"))], recursive = FALSE), recursive = FALSE)
  source <- data_source(data, y, x, as.character(group), as.list(filters), format)
  options <- list(method = method, transform = transform, through_origin = origin, robust = robust,
                  error_x = error_x, error_y = error_y, confidence = confidence, min_group_size = min_group_size,
                  chi_squared = chi_squared, iterations = iterations, critical_p = critical_p, adjust = adjust,
                  slope_h0 = slope_h0, intercept_h0 = intercept_h0, slope_pairs = slope_pairs,
                  elevation = elevation, elevation_pairs = elevation_pairs, shift = shift,
                  shift_pairs = shift_pairs, save = if (!is.null(save)) path.expand(save))
  structure(read_outcome(.Call(C_korvel_analyse, source, options, seed)), class = "korvel_analysis")
}

print.korvel_analysis <- function(x, ...) {
  cat("KORVEL analysis of", x$data$y, "on", x$data$x, "in", x$data$file, "\n")
  print(records_frame(x$groups), row.names = FALSE, ...)
  if (!is.null(x$common_slope_test)) {
    cs <- x$common_slope_test
    cat(sprintf("\nCommon slope %s: statistic %s, p %s (%s)\n", format(value_of(cs, "slope")),
                format(value_of(cs, "statistic")), format(value_of(cs, "p")), cs$p_value_from))
  }
  for (wald in x$wald_tests)
    cat(sprintf("Wald test, %s: statistic %s, df %d, p %s\n", wald$test, format(value_of(wald, "statistic")),
                wald$df, format(value_of(wald, "p"))))
  invisible(x)
}
