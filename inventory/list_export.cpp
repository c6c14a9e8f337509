#include "inventory/list_export.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>

#include "inventory/list_columns.h"
#include "inventory/row_colours.h"

namespace tw::inventory {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Lower(c);
    return out;
}

// The row's texts in column order: the caption, then the thirteen cells.
std::array<std::string_view, kColumns.size()> Texts(const DriveRow& row) {
    std::array<std::string_view, kColumns.size()> texts{};
    texts[0] = row.caption;
    for (int i = 0; i < kCellCount; ++i) texts[static_cast<size_t>(i) + 1] = row.cells[static_cast<size_t>(i)];
    return texts;
}

std::string Joined(const std::vector<DriveRow>& rows, char separator, std::string (*field)(std::string_view),
                   std::string_view lineEnd) {
    std::string out;
    for (size_t i = 0; i < kColumns.size(); ++i) {
        if (i) out += separator;
        out += field(kColumns[i].caption);
    }
    out += lineEnd;
    for (const DriveRow& row : rows) {
        const auto texts = Texts(row);
        for (size_t i = 0; i < texts.size(); ++i) {
            if (i) out += separator;
            out += field(texts[i]);
        }
        out += lineEnd;
    }
    return out;
}

// A tab or line break inside a cell would start a new cell or row.
std::string TsvField(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return out;
}

std::string HtmlText(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string HexColour(Rgb c) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s = "#";
    for (unsigned v : {unsigned{c.r}, unsigned{c.g}, unsigned{c.b}}) {
        s += kDigits[v >> 4];
        s += kDigits[v & 0xF];
    }
    return s;
}

std::string CellStyle(const CellPaint& paint, Align align) {
    std::string style = "color:" + HexColour(paint.text);
    if (paint.useBackground) style += ";background:" + HexColour(paint.background);
    if (align == Align::Right) style += ";text-align:right";
    return style;
}

std::string Html(const std::vector<DriveRow>& rows, std::string_view lineEnd) {
    std::string out;
    auto line = [&](const std::string& text) {
        out += text;
        out += lineEnd;
    };
    line("<!DOCTYPE html>");
    line("<html>");
    line("<head><title>Tarnwell drive list</title></head>");
    line("<body>");
    line("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" style=\"font-family:sans-serif\">");
    std::string header = "<tr>";
    for (const Column& column : kColumns) header += "<th>" + HtmlText(column.caption) + "</th>";
    line(header + "</tr>");
    for (size_t r = 0; r < rows.size(); ++r) {
        const DriveRow& row = rows[r];
        const int index = static_cast<int>(r);
        const auto texts = Texts(row);
        std::string tr = "<tr>";
        for (size_t i = 0; i < texts.size(); ++i) {
            const CellPaint paint = i == 0 ? PaintCaption(index, false) : PaintSubItem(row, index, false);
            tr += "<td style=\"" + CellStyle(paint, kColumns[i].align) + "\">" + HtmlText(texts[i]) + "</td>";
        }
        line(tr + "</tr>");
    }
    line("</table>");
    line("</body>");
    line("</html>");
    return out;
}

// A byte-count column: the exact count the cell shows, null where the cell
// shows none.
nlohmann::ordered_json Bytes(const std::string& cell, const std::optional<std::uint64_t>& count) {
    if (cell.empty() || !count) return nullptr;
    return *count;
}

nlohmann::ordered_json JsonRow(const DriveRow& row) {
    const DriveFacts& f = row.facts;
    const auto texts = Texts(row);
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (size_t i = 0; i < texts.size(); ++i) object[std::string(kColumns[i].caption)] = std::string(texts[i]);
    auto caption = [](int cell) { return std::string(kColumns[static_cast<size_t>(cell) + 1].caption); };
    const std::string& usedCell = row.cells[kUsed];
    object[caption(kSize)] = Bytes(row.cells[kSize], f.totalBytes);
    object[caption(kAvailable)] = Bytes(row.cells[kAvailable], f.freeBytes);
    object[caption(kBytesFree)] = Bytes(row.cells[kBytesFree], f.freeBytes);
    if (usedCell.empty() || !f.totalBytes || !f.freeBytes) {
        object[caption(kUsed)] = nullptr;
    } else if (*f.freeBytes <= *f.totalBytes) {
        object[caption(kUsed)] = *f.totalBytes - *f.freeBytes;
    } else {
        // More free than total (a quota larger than the volume): the list shows it below zero too.
        object[caption(kUsed)] = -static_cast<std::int64_t>(*f.freeBytes - *f.totalBytes);
    }
    if (row.cells[kPercentFree].empty()) {
        object[caption(kPercentFree)] = nullptr;
    } else {
        // The value as the cell shows it, with one decimal.
        object[caption(kPercentFree)] = std::round(static_cast<double>(f.percentFree) * 10.0) / 10.0;
    }
    return object;
}

std::string Json(const std::vector<DriveRow>& rows, std::string_view lineEnd) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const DriveRow& row : rows) list.push_back(JsonRow(row));
    // Labels are in the system's code page; bytes that are not UTF-8 become U+FFFD.
    std::string text = list.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    if (lineEnd != "\n") {
        std::string out;
        for (char c : text) {
            if (c == '\n') {
                out += lineEnd;
            } else {
                out += c;
            }
        }
        text = std::move(out);
    }
    return text + std::string(lineEnd);
}

}  // namespace

std::optional<ListFormat> ListFormatNamed(std::string_view name) {
    const std::string word = LowerAscii(name);
    if (word == "csv") return ListFormat::Csv;
    if (word == "tsv") return ListFormat::Tsv;
    if (word == "html") return ListFormat::Html;
    if (word == "json") return ListFormat::Json;
    return std::nullopt;
}

std::optional<ListFormat> ListFormatOfFile(std::string_view fileName) {
    const size_t dot = fileName.find_last_of('.');
    const size_t slash = fileName.find_last_of("\\/");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
    const std::string ext = LowerAscii(fileName.substr(dot + 1));
    if (ext == "txt") return ListFormat::Tsv;
    if (ext == "htm") return ListFormat::Html;
    return ListFormatNamed(ext);
}

std::string CsvField(std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string FormatList(const std::vector<DriveRow>& rows, ListFormat format, std::string_view lineEnd) {
    switch (format) {
        case ListFormat::Csv: return Joined(rows, ',', CsvField, lineEnd.empty() ? "\r\n" : lineEnd);
        case ListFormat::Tsv: return Joined(rows, '\t', TsvField, lineEnd.empty() ? "\n" : lineEnd);
        case ListFormat::Html: return Html(rows, lineEnd.empty() ? "\n" : lineEnd);
        case ListFormat::Json: return Json(rows, lineEnd.empty() ? "\n" : lineEnd);
    }
    return {};
}

}  // namespace tw::inventory
