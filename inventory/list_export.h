// The drive list as a file or as clipboard text: the rows as the list shows
// them, in the list's column order, as comma-separated values (quoted the
// way spreadsheets read them), tab-separated text, an HTML table painted in
// the rows' colours, or JSON with one object per row.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "inventory/drive_row.h"

namespace tw::inventory {

enum class ListFormat { Csv, Tsv, Html, Json };

// "csv", "tsv", "html" or "json"; none for any other word.
std::optional<ListFormat> ListFormatNamed(std::string_view name);
// The format a file name's extension stands for (".csv", ".tsv", ".txt",
// ".htm", ".html", ".json", any case); none for another extension.
std::optional<ListFormat> ListFormatOfFile(std::string_view fileName);

// A header line of the column captions, then one line per row. Lines end
// with CR LF in CSV, as the format has it, and with LF in the others, except
// where `lineEnd` says otherwise.
std::string FormatList(const std::vector<DriveRow>& rows, ListFormat format, std::string_view lineEnd = "");

// One cell quoted for CSV: as it is unless it holds a comma, a double quote,
// a line break or leading or trailing blanks; then between double quotes,
// its double quotes doubled.
std::string CsvField(std::string_view text);

}  // namespace tw::inventory
