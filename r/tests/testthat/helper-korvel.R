# The built command line whose --json every number is checked against:
# KORVEL_EXE. Without it the comparisons skip, unless KORVEL_REQUIRE_EXE is
# set (the project's test command), where they fail.
korvel_exe <- function() {
  exe <- Sys.getenv("KORVEL_EXE")
  if (nzchar(exe) && file.access(exe, 1L) == 0L) return(exe)
  if (nzchar(Sys.getenv("KORVEL_REQUIRE_EXE"))) stop("the built command line is needed (KORVEL_EXE=", exe, ")")
  skip("KORVEL_EXE does not name the built command line")
}

# The data sets, and each as a tab-separated file the command line reads.
frames <- list(cats = if (requireNamespace("MASS", quietly = TRUE)) MASS::cats, iris = datasets::iris)
data_file <- function(frame, name = tempfile(fileext = ".txt")) {
  utils::write.table(frame, name, sep = "\t", quote = FALSE, row.names = FALSE, na = "")
  name
}

# The command line's document of the run with these options (named as
# korvel_analysis names them).
cli_json <- function(path, y, x, group, options) {
  args <- c("-y", y, "-x", x, if (length(group)) rbind("-g", group))
  for (key in names(options)) {
    value <- options[[key]]
    option <- paste0("--", gsub("_", "-", if (key == "origin") "through_origin" else key))
    args <- c(args, if (key %in% c("remove", "range")) {
      rbind(option, paste0(names(value), "=", vapply(value, paste, "", collapse = ":")))
    } else if (isTRUE(value)) option else c(option, if (key == "confidence") round(value * 100) else value))
  }
  report <- tempfile()
  out <- system2(korvel_exe(), c(args, "-o", report, "--json", "-", shQuote(path)), stdout = TRUE, stderr = FALSE)
  jsonlite::fromJSON(paste(out, collapse = "\n"), simplifyVector = FALSE)
}

`%||%` <- function(a, b) if (is.null(a)) b else a

# A value as the document gives it: a null NA, or the number its note names.
expect_value <- function(found, value, note, label) {
  if (is.null(value) && is.null(note)) return(expect_true(is.na(found), label = label))
  expected <- if (is.null(value)) c(Inf, -Inf, NaN)[match(note, c("inf", "-inf", "nan"))] else value
  expect_equal(found, expected, tolerance = 0, label = label)
}

# The object (a list, or a table's row i) holds the record's fields, nested
# ones by prefixed names in a table, value for value; but those skipped.
expect_fields <- function(object, record, i = NULL, prefix = "", skip = character()) {
  for (key in setdiff(grep("_note$", names(record), value = TRUE, invert = TRUE), skip)) {
    value <- record[[key]]
    name <- paste0(prefix, key)
    if (is.list(value) && !is.null(i)) expect_fields(object, value, i, paste0(name, "_"))
    else if (is.list(value)) expect_fields(object[[key]], value)
    else expect_value(if (is.null(i)) object[[name]] else object[[name]][i], value,
                      record[[paste0(key, "_note")]], name)
  }
}

expect_rows <- function(table, records) {
  expect_equal(nrow(table), length(records))
  for (i in seq_along(records)) expect_fields(table, records[[i]], i)
}
