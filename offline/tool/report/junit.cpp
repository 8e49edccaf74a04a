// The report as JUnit XML for CI: one test case per expectation.
#include <cstdint>
#include <string_view>

#include "report.h"

namespace offline_tool {

namespace {

// Escapes for an XML 1.0 attribute or text. Code points XML cannot carry at
// all (most controls, U+FFFE, U+FFFF, broken UTF-8) become U+FFFD.
void AppendXml(std::string& out, std::string_view text, bool attribute) {
    static const char kReplacement[] = "\xEF\xBF\xBD";
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            switch (c) {
                case '&':
                    out += "&amp;";
                    break;
                case '<':
                    out += "&lt;";
                    break;
                case '>':
                    out += "&gt;";
                    break;
                case '"':
                    out += "&quot;";
                    break;
                case '\'':
                    out += "&apos;";
                    break;
                // Parsers turn a plain one into a space in attributes, and a
                // plain carriage return into a line feed everywhere.
                case '\t':
                    out += attribute ? "&#9;" : "\t";
                    break;
                case '\n':
                    out += attribute ? "&#10;" : "\n";
                    break;
                case '\r':
                    out += "&#13;";
                    break;
                default:
                    if (c < 0x20) {
                        out += kReplacement;
                    } else {
                        out += static_cast<char>(c);
                    }
            }
            ++i;
            continue;
        }
        size_t length = 0;
        uint32_t code = 0;
        uint32_t least = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1Fu;
            least = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0Fu;
            least = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07u;
            least = 0x10000;
        }
        bool valid = length != 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3Fu);
        }
        valid = valid && code >= least && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF) &&
                code != 0xFFFE && code != 0xFFFF;
        if (valid) {
            out.append(text.data() + i, length);
            i += length;
        } else {
            out += kReplacement;
            ++i;
        }
    }
}

std::string XmlAttribute(std::string_view text) {
    std::string out;
    AppendXml(out, text, true);
    return out;
}

void AppendTestcase(std::string& out, const std::string& name, bool passed,
                    const std::string& message) {
    out += "  <testcase classname=\"steambridge-offline\" name=\"" + XmlAttribute(name) + "\"";
    if (passed) {
        out += "/>\n";
        return;
    }
    out += ">\n    <failure message=\"" + XmlAttribute(message) + "\"/>\n  </testcase>\n";
}

}  // namespace

std::string ReportJUnit(const Report& report) {
    const int failures = report.FailedExpectations() + (report.started ? 0 : 1);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<testsuite name=\"steambridge-offline\" tests=\"" +
           std::to_string(report.expectations.size() + 1) + "\" failures=\"" +
           std::to_string(failures) + "\" errors=\"0\" skipped=\"0\">\n";
    std::string notStarted = report.startFailure.value_or("the game did not call SteamAPI_Init");
    // An attribute keeps no line breaks.
    for (const std::string& line : report.bridgeTrace) notStarted += " / " + line;
    AppendTestcase(out, "Steam started", report.started, notStarted);
    for (const ExpectationResult& expectation : report.expectations) {
        AppendTestcase(out, expectation.what, expectation.met,
                       expectation.detail.empty() ? "not met" : expectation.detail);
    }
    if (!report.warnings.empty()) {
        out += "  <system-out>";
        for (const ReportWarning& warning : report.warnings) {
            AppendXml(out, "warning " + warning.code + ": " + warning.text + "\n", false);
        }
        out += "</system-out>\n";
    }
    out += "</testsuite>\n";
    return out;
}

}  // namespace offline_tool
