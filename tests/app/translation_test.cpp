#include "app/common/translation.h"

#include <gtest/gtest.h>

#include "app/common/extras_texts.h"

namespace kz {
namespace {

TEST(Translation, FilledPutsEachValueWhereItsNameStandsAndKeepsWhatItCannotFill) {
    EXPECT_EQ(filled("Move {moves} of {required}", {{"moves", "2"}, {"required", "16"}}),
              "Move 2 of 16");
    // A language may put the values in another order, or one twice.
    EXPECT_EQ(filled("{b}{a} {b}", {{"a", "1"}, {"b", "2"}}), "21 2");
    // A name no value is given for, and braces that close nothing, stay as written.
    EXPECT_EQ(filled("{code} kopiert {cod", {{"kode", "X"}}), "{code} kopiert {cod");
    EXPECT_EQ(filled("}{x}{", {{"x", "{x}"}}), "}{x}{") << "a value is not filled again";
    EXPECT_EQ(filled("", {{"x", "1"}}), "");
}

TEST(Translation, EnglishIsTheTextAsWrittenWithItsTwoCountForms) {
    const English english;
    EXPECT_EQ(english.text(kNoTodaysResultText), kNoTodaysResultText);
    EXPECT_EQ(english.count("{n} match", "{n} matches", 1), "{n} match");
    EXPECT_EQ(english.count("{n} match", "{n} matches", 0), "{n} matches");
    EXPECT_EQ(english.count("{n} match", "{n} matches", 21), "{n} matches");
    // The texts composed from parts read as they always did.
    EXPECT_EQ(puzzleCodeCopiedText(english, "3MNWJ7CXSM"), "Puzzle code 3MNWJ7CXSM copied.");
    EXPECT_EQ(resizedNoteText(english, Easy, FieldResize{5, 2}),
              "Next has no Easy puzzle of this kind on 5 x 5: playing 2 x 2.");
}

}  // namespace
}  // namespace kz
