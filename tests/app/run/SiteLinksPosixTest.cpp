// SPDX-License-Identifier: GPL-3.0-or-later
// FCM's files in the site as symbolic links: never read, whatever they point to.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/FormFixture.h"

namespace calvorin {
namespace {

namespace fs = std::filesystem;
using test::FormFixture;

// Anyone who may write in the site could point FCM's file at a file only Calvorin's user may read.
TEST(SiteLinks, FcmFilesThatAreLinksAreNotReadAndNothingOfTheirTargetIsPublished) {
    FormFixture f;
    f.form.FormShow();
    f.StartTimeExportOnly();
    const std::string secret = "root:x:0:0:segreto\nriga 2\nriga 3\nriga 4\n";
    test::WriteBytes(f.Root() / "segreto.txt", secret);
    fs::create_symlink(f.Root() / "segreto.txt", f.Site() / "js" / "fcmSerieADati.js");
    f.form.OkButtonClick();
    EXPECT_EQ(f.form.LastRunOutcome(), RunOutcome::Cancelled);
    EXPECT_NE(f.sink.Text().find("KO: Impossibile leggere il file \"" +
                                 PathText(f.Site() / "js" / "fcmSerieADati.js") +
                                 "\": è un collegamento simbolico, non un file"),
              std::string::npos)
        << f.sink.Text();
    EXPECT_TRUE(fs::is_symlink(f.Site() / "js" / "fcmSerieADati.js")) << "left as it was";
    EXPECT_EQ(test::ReadBytes(f.Root() / "segreto.txt"), secret);

    // The files whose lines only say whether a page exists: a link counts as no file.
    fs::remove(f.Site() / "js" / "fcmSerieADati.js");
    test::WriteBytes(f.Site() / "js" / "fcmSerieADati.js", "var arrSquadreA=new Array()\r\n");
    for (const char* name : {"fcmQueryDati.js", "fcmDocumentiDati.js"})
        fs::create_symlink(f.Root() / "segreto.txt", f.Site() / "js" / name);
    f.form.OkButtonClick();
    ASSERT_EQ(f.form.LastRunOutcome(), RunOutcome::Succeeded) << f.sink.Text();
    const std::string variables = test::ReadBytes(f.Site() / "js" / "fcmVariabiliCalvorin.js");
    EXPECT_NE(variables.find("var documenti=\"no\";"), std::string::npos) << variables;
    EXPECT_NE(variables.find("var statistiche=\"no\";"), std::string::npos) << variables;
    for (const auto& entry : fs::directory_iterator(f.Site() / "js")) {
        if (entry.is_symlink()) continue;
        EXPECT_EQ(test::ReadBytes(entry.path()).find("segreto"), std::string::npos) << entry.path();
    }
}

}  // namespace
}  // namespace calvorin
