# What the package's calls share: the engine's data from a data frame or a
# data file, its outcomes (a JSON document and notes) read into R's values.

# The source of the engine's data: a data file's variables by name (with its
# filters, each c(variable, value) or c(variable, min, max), and its format),
# or the columns of a data frame, each grouping column as a factor's codes.
data_source <- function(data, y, x, group = character(), filters = list(), format = NULL) {
  if (is.character(data) && length(data) == 1L) {
    return(list(file = path.expand(data), y = y, x = x, groups = as.character(group), filters = filters,
                format = if (is.null(format)) "" else format))
  }
  if (length(filters) || !is.null(format))
    stop("remove, range and format apply to a data file; select a data frame's rows before the call", call. = FALSE)
  if (!is.data.frame(data) && !is.list(data))
    stop("data: a data frame, a list of columns or the path of a data file", call. = FALSE)
  groups <- lapply(group, function(name) {
    labels <- column(data, name)
    if (!is.factor(labels)) labels <- factor(labels)
    list(name = name, codes = as.integer(labels), levels = levels(labels))
  })
  list(y_name = y, y = numbers(data, y), x_name = x, x = numbers(data, x), groups = groups, source = "data")
}

column <- function(data, name) {
  if (!name %in% names(data))
    stop(name, ": no such column (the columns: ", paste(names(data), collapse = ", "), ")", call. = FALSE)
  data[[name]]
}

# The column as doubles, missing values NA.
numbers <- function(data, name) {
  values <- column(data, name)
  if (!is.numeric(values) && !is.logical(values)) stop(name, ": not a column of numbers", call. = FALSE)
  as.double(values)
}

# Each note of the engine as a warning of class korvel_warning: what it said
# while it ran, or what was asked for and did not apply, with why.
warn <- function(notes) {
  for (note in notes)
    warning(structure(class = c("korvel_warning", "warning", "condition"), list(message = note, call = NULL)))
}

# The document of an engine call's outcome, its notes warned.
read_outcome <- function(outcome) {
  warn(outcome$notes)
  jsonlite::fromJSON(outcome$document, simplifyVector = FALSE)
}

not_finite <- c(inf = Inf, "-inf" = -Inf, nan = NaN)

# The value of part[[key]]: a number that is not finite from its note; NA
# when null.
value_of <- function(part, key) {
  value <- part[[key]]
  note <- part[[paste0(key, "_note")]]
  if (is.null(value) && !is.null(note) && note %in% names(not_finite)) return(not_finite[[note]])
  if (is.null(value)) NA else value
}

# The fields of a JSON object as a list, nulls NA and the numbers that are
# not finite back from their notes; the keys named in always NA when absent.
fields_of <- function(part, always = character()) {
  keys <- union(grep("_note$", names(part), value = TRUE, invert = TRUE), always)
  stats::setNames(lapply(keys, function(k) if (is.list(part[[k]])) part[[k]] else value_of(part, k)), keys)
}

# Nested objects as prefixed fields (slope_test_F), for a table's row.
flatten <- function(record, prefix = "") {
  out <- list()
  for (key in names(record)) {
    value <- record[[key]]
    if (is.list(value) && length(value)) out <- c(out, flatten(value, paste0(prefix, key, "_")))
    else out[[paste0(prefix, key)]] <- if (is.null(value) || is.list(value)) NA else value
  }
  out
}

# Records as a data frame, one row each: nested objects flattened, numbers
# that are not finite back from their notes (whose columns are dropped when
# they hold nothing else).
records_frame <- function(records) {
  rows <- lapply(records, flatten)
  keys <- unique(unlist(lapply(rows, names)))
  table <- lapply(stats::setNames(keys, keys), function(k) unlist(lapply(rows, function(r) {
    if (is.null(r[[k]])) NA else r[[k]]
  })))
  for (note in grep("_note$", keys, value = TRUE)) {
    key <- sub("_note$", "", note)
    marked <- table[[note]] %in% names(not_finite)
    table[[key]][marked] <- not_finite[table[[note]][marked]]
    if (all(marked | is.na(table[[note]]))) table[[note]] <- NULL
  }
  data.frame(table, check.names = FALSE, stringsAsFactors = FALSE)
}
