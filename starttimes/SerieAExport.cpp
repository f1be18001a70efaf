// SPDX-License-Identifier: GPL-3.0-or-later
#include "starttimes/SerieAExport.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/fs/Files.h"
#include "platform/fs/WinePath.h"
#include "platform/text/Encoding.h"
#include "platform/text/Trim.h"
#include "plugin/log/Format.h"

namespace calvorin {
namespace {

constexpr std::string_view kMarker = "var arrDateA=new Array()";

bool IsBlankLine(const std::string& line) {
    return TrimView(line).empty();
}

struct TextFile {
    std::vector<std::string> lines;
    TextEncoding encoding = TextEncoding::Ansi;
};

// An ANSI file keeps its bytes as they are: the block is ASCII, and decoding FCM's text only to encode it
// again could alter bytes the code page leaves undefined.
TextFile ReadLines(const std::filesystem::path& path) {
    std::string bytes = ReadFileBytesNoLink(path);
    DecodedText decoded = DecodeText(bytes);
    const std::string& text = decoded.encoding == TextEncoding::Ansi ? bytes : decoded.utf8;
    return {SplitLines(text), decoded.encoding};
}

std::optional<std::string> WriteLines(const std::filesystem::path& path, const TextFile& file) {
    std::string text = JoinCrlf(file.lines);
    return WriteFileAtomic(path,
                           file.encoding == TextEncoding::Ansi ? text : EncodeText(text, file.encoding));
}

}  // namespace

std::vector<std::string> SerieABlock(const std::array<LocalDateTime, kMatchdays>& orari) {
    std::vector<std::string> block = {"", "", std::string(kMarker), "a=arrDateA"};
    for (int n = 1; n <= kMatchdays; ++n)
        block.push_back(Format("a[%d]=new Date(\"%s\")", {n, orari[n - 1].JavaScriptForm()}));
    return block;
}

void ReplaceSerieABlock(std::vector<std::string>& lines, const std::array<LocalDateTime, kMatchdays>& orari) {
    auto marker = std::find(lines.begin(), lines.end(), kMarker);
    if (marker != lines.end()) {
        auto firstKept =
            std::find_if_not(std::make_reverse_iterator(marker), lines.rend(), IsBlankLine).base();
        lines.erase(firstKept, lines.end());
    }
    std::vector<std::string> block = SerieABlock(orari);
    lines.insert(lines.end(), block.begin(), block.end());
}

void EsportaOrariSerieA(const std::array<LocalDateTime, kMatchdays>& orari, const std::string& siteFolder,
                        Log& log) {
    log.WriteHeading("Esportazione data e orari inizio partite di Serie A in <i>fcmSerieADati.js</i>");
    // Joined as text so that under Wine each name matches as Windows would, whatever its case.
    std::filesystem::path path = PathFromText(JoinPathText(siteFolder, {"js", "fcmSerieADati.js"}));
    TextFile file = ReadLines(path);
    ReplaceSerieABlock(file.lines, orari);
    if (const std::optional<std::string> warning = WriteLines(path, file)) log.WriteWarning(2, *warning);
}

}  // namespace calvorin
