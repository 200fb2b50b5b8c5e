# The fit as tidy tables, in the conventions of the generics package's
# tidy(), glance() and augment().

tidy.korvel <- function(x, conf.int = TRUE, ...) {
  g <- x$groups
  test <- function(name, statistic) {
    if (is.null(g[[paste0(name, "_p")]])) return(list(statistic = NA_real_, p = NA_real_))
    list(statistic = g[[paste(name, statistic, sep = "_")]], p = g[[paste0(name, "_p")]])
  }
  slope <- test("slope_test", "F")
  intercept <- test("intercept_test", "T")
  out <- data.frame(group = rep(g$group, each = 2L), term = rep(c("intercept", "slope"), nrow(g)),
                    estimate = interleave(g$intercept, g$slope), stringsAsFactors = FALSE)
  if (conf.int) {
    out$conf.low <- interleave(g$intercept_low, g$slope_low)
    out$conf.high <- interleave(g$intercept_high, g$slope_high)
  }
  out$statistic <- interleave(intercept$statistic, slope$statistic)
  out$p.value <- interleave(intercept$p, slope$p)
  out
}

interleave <- function(a, b) as.vector(rbind(rep_len(a, length(b)), b))

glance.korvel <- function(x, ...) {
  g <- x$groups
  data.frame(group = g$group, r.squared = g$r2, p.value = g$p, nobs = g$n, method = x$settings$method,
             stringsAsFactors = FALSE)
}

augment.korvel <- function(x, data = x$model, ...) {
  scores <- point_scores(x)
  rows <- match(seq_len(nrow(x$model)), scores$row)
  data$.group <- scores$group[rows]
  data$.fitted <- scores$fitted[rows]
  data$.resid <- scores$residual[rows]
  data
}
