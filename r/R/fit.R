# korvel(): the lines of the data's groups, and the methods that read them as
# R's model functions do.

# The settings of the results file that a fit is made with.
fit_settings <- c("method", "transformation", "intercept", "robust", "confidence_percent", "min_group_size",
                  "hypothesised_slope", "hypothesised_intercept", "measurement_error")

korvel <- function(formula, data, group = NULL, method = "sma", transform = "none", origin = FALSE,
                   robust = FALSE, error = NULL, confidence = 0.95, min_group_size = 6, slope_h0 = NULL,
                   intercept_h0 = NULL, subset) {
  call <- match.call()
  if (!inherits(formula, "formula") || length(formula) != 3L)
    stop("formula: Y ~ X, or Y ~ X | GROUP", call. = FALSE)
  right <- formula[[3L]]
  grouped <- is.call(right) && identical(right[[1L]], as.name("|"))
  terms <- list(y = formula[[2L]], x = if (grouped) right[[2L]] else right)
  group <- c(if (grouped) all.vars(right[[3L]]), as.character(group))
  if (!missing(subset)) {
    keep <- eval(substitute(subset), data, parent.frame())
    if (!is.logical(keep)) stop("subset: a logical condition on the data's rows", call. = FALSE)
    data <- data[keep & !is.na(keep), , drop = FALSE]
  }
  env <- environment(formula)
  model <- list(eval(terms$y, data, env), eval(terms$x, data, env))
  names(model) <- vapply(terms, function(term) paste(deparse(term), collapse = " "), "")
  if (anyDuplicated(c(names(model), group))) stop("Y, X and the groups: each a different column", call. = FALSE)
  for (name in group) model[[name]] <- column(data, name)
  model <- structure(model, class = "data.frame", row.names = if (is.data.frame(data)) attr(data, "row.names")
                     else .set_row_names(length(model[[1L]])))
  if (!is.null(error) && (length(error) != 2L || !is.numeric(error)))
    stop("error: the measurement-error variances c(x = , y = )", call. = FALSE)
  if (!is.null(error) && !is.null(names(error))) error <- error[c("x", "y")]
  options <- list(method = method, transform = transform, through_origin = origin, robust = robust,
                  error_x = if (!is.null(error)) unname(error[1L]), error_y = if (!is.null(error)) unname(error[2L]),
                  confidence = confidence, min_group_size = min_group_size, slope_h0 = slope_h0,
                  intercept_h0 = intercept_h0)
  fit_model(model, group, options, call, terms, env)
}

# The lines table of a fit that kept no group.
no_lines <- data.frame(group = character(), n = integer(), r2 = numeric(), p = numeric(), slope = numeric(),
                       slope_low = numeric(), slope_high = numeric(), intercept = numeric(), intercept_low = numeric(),
                       intercept_high = numeric(), y_mean = numeric(), x_mean = numeric(), stringsAsFactors = FALSE)

fit_model <- function(model, group, options, call, terms, env) {
  outcome <- .Call(C_korvel_fit, data_source(model, names(model)[1L], names(model)[2L], group), options)
  found <- read_outcome(outcome)
  groups <- if (length(found$groups)) records_frame(found$groups) else no_lines
  structure(list(call = call, settings = found$settings[fit_settings],
                 data = found$data[names(found$data) != "groups_removed"], groups = groups,
                 removed = records_frame(found$data$groups_removed), model = model, group = group,
                 options = options, terms = terms, env = env, engine = outcome$handle), class = "korvel")
}

# Each analysed point's row of the model, group, transformed X and Y, and its
# scores at its group's slope: the residual-axis score less the group's mean.
point_scores <- function(object) {
  points <- .Call(C_korvel_points, object$engine)
  model <- object$model
  key <- if (length(object$group)) do.call(paste, unname(lapply(model[object$group], as.character)))
         else rep(object$groups$group[1L], nrow(model))
  if (length(object$group)) key[Reduce(`|`, lapply(model[object$group], is.na))] <- NA
  usable <- is.finite(model[[1L]]) & is.finite(model[[2L]]) & !is.na(key)
  if (object$settings$transformation != "none") usable <- usable & model[[1L]] > 0 & model[[2L]] > 0
  parts <- lapply(seq_along(points), function(g) {
    p <- points[[g]]
    rows <- rev(which(usable & key == object$groups$group[g])) # the fit holds them last row first
    if (length(rows) != length(p$x)) stop("the fit's points do not match the model's rows", call. = FALSE)
    data.frame(row = rows, group = object$groups$group[g], x = p$x, y = p$y, fitted = p$fitted,
               residual = p$residual - mean(p$residual), downweighted = if (length(p$downweighted))
                 p$downweighted else FALSE, stringsAsFactors = FALSE)
  })
  scores <- do.call(rbind, c(parts, list(data.frame(row = integer(), group = character(), x = numeric(),
                                                    y = numeric(), fitted = numeric(), residual = numeric(),
                                                    downweighted = logical()))))
  scores[order(scores$row), , drop = FALSE]
}

transforms <- list(none = list(to = identity, back = identity), log10 = list(to = log10, back = function(v) 10^v),
                   ln = list(to = log, back = exp))

print.korvel <- function(x, digits = max(3L, getOption("digits") - 3L), ...) {
  cat("Call:\n", paste(deparse(x$call), collapse = "\n"), "\n\n", sep = "")
  s <- x$settings
  cat(sprintf("%s lines of %s on %s%s%s%s, %d%% limits: %d groups, %d points\n\n", s$method, x$data$y, x$data$x,
              if (s$transformation != "none") paste0(", ", s$transformation, " of both") else "",
              if (!isTRUE(s$intercept)) ", through the origin" else "", if (isTRUE(s$robust)) ", robust" else "",
              s$confidence_percent, x$data$groups_analysed, x$data$points_analysed))
  print(x$groups[c("group", "n", "r2", "p", "slope", "slope_low", "slope_high", "intercept")], digits = digits,
        row.names = FALSE)
  if (nrow(x$removed)) cat("\nGroups removed:", paste0(x$removed$group, " (", x$removed$reason, ")"), "\n")
  invisible(x)
}

summary.korvel <- function(object, ...) {
  structure(list(call = object$call, settings = object$settings, data = object$data, lines = object$groups,
                 removed = object$removed), class = "summary.korvel")
}

print.summary.korvel <- function(x, digits = max(3L, getOption("digits") - 3L), ...) {
  cat("Call:\n", paste(deparse(x$call), collapse = "\n"), "\n\n", sep = "")
  s <- x$settings
  cat(sprintf("Method %s, transformation %s, %s, %d%% confidence%s\n", s$method, s$transformation,
              if (isTRUE(s$intercept)) "with intercept" else "through the origin", s$confidence_percent,
              if (isTRUE(s$robust)) ", robust (Huber M-estimation)" else ""))
  left <- x$data$lines_left_out
  cat(sprintf("Lines read %d, left out %d (not a number %d, not above zero %d)\n\n", x$data$lines_read,
              left$total, left$not_a_number, left$not_above_zero))
  print(x$lines, digits = digits, row.names = FALSE)
  if (nrow(x$removed)) {
    cat("\nGroups removed:\n")
    print(x$removed, row.names = FALSE)
  }
  invisible(x)
}

coef.korvel <- function(object, ...) {
  matrix(c(object$groups$intercept, object$groups$slope), ncol = 2L,
         dimnames = list(object$groups$group, c("intercept", "slope")))
}

confint.korvel <- function(object, parm = c("intercept", "slope"), level = object$settings$confidence_percent / 100, ...) {
  if (!isTRUE(all.equal(level, object$settings$confidence_percent / 100))) {
    options <- object$options
    options$confidence <- level
    object <- fit_model(object$model, object$group, options, object$call, object$terms, object$env)
  }
  parm <- match.arg(parm, several.ok = TRUE)
  g <- object$groups
  rows <- expand.grid(term = parm, group = seq_len(nrow(g)), stringsAsFactors = FALSE)
  limits <- cbind(mapply(function(t, i) g[[paste0(t, "_low")]][i], rows$term, rows$group),
                  mapply(function(t, i) g[[paste0(t, "_high")]][i], rows$term, rows$group))
  dimnames(limits) <- list(if (length(object$group)) paste(g$group[rows$group], rows$term, sep = ":") else rows$term,
                           paste(format(100 * c((1 - level) / 2, (1 + level) / 2), trim = TRUE, digits = 3), "%"))
  limits
}

nobs.korvel <- function(object, ...) sum(object$groups$n)

fitted.korvel <- function(object, ...) {
  scores <- point_scores(object)
  stats::setNames(scores$fitted, row.names(object$model)[scores$row])
}

residuals.korvel <- function(object, ...) {
  scores <- point_scores(object)
  stats::setNames(scores$residual, row.names(object$model)[scores$row])
}

predict.korvel <- function(object, newdata, ...) {
  if (missing(newdata)) newdata <- object$model
  x <- eval(object$terms$x, newdata, object$env)
  key <- if (length(object$group)) do.call(paste, unname(lapply(object$group, function(g) as.character(column(newdata, g)))))
         else rep(object$groups$group[1L], length(x))
  g <- match(key, object$groups$group)
  scale <- transforms[[object$settings$transformation]]
  with(object$groups, scale$back(intercept[g] + slope[g] * scale$to(x)))
}

as.data.frame.korvel <- function(x, ...) x$groups

plot.korvel <- function(x, col = seq_len(nrow(x$groups)), pch = 16, xlab = x$data$x, ylab = x$data$y, ...) {
  scores <- point_scores(x)
  back <- transforms[[x$settings$transformation]]$back
  logged <- x$settings$transformation != "none"
  col <- rep_len(col, nrow(x$groups))
  graphics::plot(back(scores$x), back(scores$y), type = "n", log = if (logged) "xy" else "", xlab = xlab,
                 ylab = ylab, ...)
  for (g in seq_len(nrow(x$groups))) {
    mine <- scores$group == x$groups$group[g]
    graphics::points(back(scores$x[mine]), back(scores$y[mine]), col = col[g],
                     pch = ifelse(scores$downweighted[mine], 1, pch))
    ends <- range(scores$x[mine])
    graphics::lines(back(ends), back(x$groups$intercept[g] + x$groups$slope[g] * ends), col = col[g], lwd = 2)
  }
  if (length(x$group))
    graphics::legend("topleft", legend = x$groups$group, col = col, pch = pch, lwd = 2, title = x$data$grouping,
                     bty = "n")
  invisible(x)
}
