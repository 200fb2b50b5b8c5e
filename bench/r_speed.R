# The R package's speed: korvel() and a chi-squared common-slope test on 10^6
# rows in 2 groups, timed together, against lm(y ~ x * g) on the same data
# frame (the per-group lines and the test of their slopes' difference).
# Prints key=value lines (times in seconds, medians of the repetitions) that
# bench/run reads:
#
#   R_LIBS=DIR Rscript bench/r_speed.R [ROWS] [REPS]
#
# with DIR holding the installed package (bench/run installs it into
# build-bench/r-lib). Processor time is user + system; wall time is printed too.
library(korvel)
args <- as.integer(commandArgs(TRUE))
rows <- if (length(args) >= 1L) args[1L] else 1e6L
reps <- if (length(args) >= 2L) args[2L] else 5L

# Y on X in groups a and b, slopes 0.8 and 0.9, the same seed every run.
set.seed(1)
g <- factor(ifelse(runif(rows) < 0.5, "a", "b"))
x <- rnorm(rows, 10, 2)
df <- data.frame(y = 1 + ifelse(g == "a", 0.8, 0.9) * x + rnorm(rows), x = x, g = g)

korvel_run <- function(df) common_slope_test(korvel(y ~ x | g, df), chi_squared = TRUE)
lm_run <- function(df) lm(y ~ x * g, df)

# Medians of processor and wall time.
timed <- function(run, df) {
  times <- vapply(seq_len(reps), function(i) {
    t <- system.time(run(df), gcFirst = TRUE)
    c(t[["user.self"]] + t[["sys.self"]], t[["elapsed"]])
  }, numeric(2))
  apply(times, 1L, stats::median)
}

invisible(korvel_run(df)) # the first calls load and warm up
invisible(lm_run(df))
k <- timed(korvel_run, df)
l <- timed(lm_run, df)
cat(sprintf("rows=%d\nkorvel_cpu=%.4f\nkorvel_wall=%.4f\nlm_cpu=%.4f\nlm_wall=%.4f\nratio=%.4f\nratio_wall=%.4f\n",
            rows, k[1], k[2], l[1], l[2], k[1] / l[1], k[2] / l[2]))
