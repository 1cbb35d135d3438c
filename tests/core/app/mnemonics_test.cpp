#include "app/mnemonics.h"

#include <gtest/gtest.h>

namespace zorv::app {
namespace {

    struct MnemonicCase {
        const char *text;
        char32_t key; // 0: none
    };

    class MnemonicOf : public testing::TestWithParam<MnemonicCase> { };

    TEST_P(MnemonicOf, FindsTheKeyAfterTheSingleAmpersand)
    {
        const auto found = mnemonicOf(GetParam().text);
        if (GetParam().key == 0)
            EXPECT_FALSE(found.has_value()) << GetParam().text;
        else
            EXPECT_EQ(found, std::optional<char32_t>(GetParam().key)) << GetParam().text;
    }

    INSTANTIATE_TEST_SUITE_P(Texts, MnemonicOf,
        testing::Values(MnemonicCase { "&Fichier", U'f' }, MnemonicCase { "Sauvegarder co&mme...", U'm' },
            MnemonicCase { "&Chercher && Remplacer", U'c' }, MnemonicCase { "Chercher && &Remplacer", U'r' },
            MnemonicCase { "Chercher && Remplacer", 0 }, MnemonicCase { "Déco", 0 }, MnemonicCase { "a & b", 0 },
            MnemonicCase { "trailing &", 0 }, MnemonicCase { "&Écraser", U'é' }, MnemonicCase { "Séparer &2", U'2' },
            MnemonicCase { "&?", U'?' }));

    TEST(MnemonicClashes, NamesEveryTextOfAKeyClaimedTwice)
    {
        const auto clashes = mnemonicClashes({ "&Editer", "&Vue", "E&xtras", "&Extras", "Chercher", "C&oller",
            "Numéroter t&outes", "&Écrire", "é&crire" });
        ASSERT_EQ(clashes.size(), 2U);
        EXPECT_EQ(clashes[0].key, U'e');
        EXPECT_EQ(clashes[0].texts, (std::vector<std::string> { "&Editer", "&Extras" }));
        EXPECT_EQ(clashes[1].key, U'o');
        EXPECT_EQ(clashes[1].texts.size(), 2U);
        EXPECT_TRUE(mnemonicClashes({ "&Oui", "&Non", "&Annuler" }).empty());
    }

} // namespace
} // namespace zorv::app
