// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run/VariablesFile.h"

#include <algorithm>
#include <stdexcept>

#include "platform/fs/Files.h"
#include "platform/fs/WinePath.h"
#include "platform/text/Encoding.h"

namespace calvorin {
namespace {

const char* YesNo(bool yes) {
    return yes ? "si" : "no";
}

std::filesystem::path JsFile(const std::string& siteFolder, const char* name) {
    return PathFromText(JoinPathText(siteFolder, {"js", name}));
}

}  // namespace

int CountLines(const std::filesystem::path& file) {
    try {
        auto lines = SplitLines(DecodeText(ReadFileBytesNoLink(file)).utf8);
        return static_cast<int>(
            std::count_if(lines.begin(), lines.end(), [](const auto& l) { return !l.empty(); }));
    } catch (const std::runtime_error&) {
        return -1;
    }
}

std::vector<std::string> VariablesFileLines(const std::string& version, bool invioFormazione,
                                            const std::string& siteFolder) {
    bool documenti = CountLines(JsFile(siteFolder, "fcmDocumentiDati.js")) > 2;
    bool statistiche = CountLines(JsFile(siteFolder, "fcmQueryDati.js")) > 2;
    return {
        "/**",
        " * fcmVariabiliCalvorin.js",
        " * Generato da Calvorin versione " + version,
        " */",
        "",
        std::string("var invioFormazione=\"") + YesNo(invioFormazione) + "\";",
        std::string("var documenti=\"") + YesNo(documenti) + "\";",
        std::string("var statistiche=\"") + YesNo(statistiche) + "\";",
    };
}

std::optional<std::string> WriteVariablesFile(const std::string& version, bool invioFormazione,
                                              const std::string& siteFolder) {
    auto lines = VariablesFileLines(version, invioFormazione, siteFolder);
    return WriteFileAtomic(JsFile(siteFolder, "fcmVariabiliCalvorin.js"), Utf8ToCp1252(JoinCrlf(lines)));
}

}  // namespace calvorin
