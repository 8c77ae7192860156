// The VIQR key set, its table, and its place in the settings file.

#include "TRaRaru.h"
#include "TestSupport.h"

namespace odz {
namespace {

TEST(Keys, LoadedFromTheSettingsFile) {
    struct TCase {
        const char* what;
        std::string fileContent;  // empty: no file at all
        std::string expected;
    };
    const TCase cases[] = {
        {"no file", "", "'`?~.^(+Dd\\"},
        {"no entry", "[Other]\nConversion=1234567890!\n", "'`?~.^(+Dd\\"},
        {"ten characters restore all eleven defaults", "[VN Key Current Encode]\nConversion=1234567890\n",
         "'`?~.^(+Dd\\"},
        {"fifteen characters use the first eleven", "[VN Key Current Encode]\nConversion=1234567890!@#$%\n",
         "1234567890!"},
        {"section and key in other letter case", "[vn key current encode]\r\nCONVERSION=#`?~.^(+Dd\\\r\n",
         "#`?~.^(+Dd\\"},
    };
    for (const TCase& c : cases) {
        test::TTempDir dir;
        if (!c.fileContent.empty()) test::WriteFile(dir / "odizodoruz.ini", c.fileContent);
        TRaRaru engine(dir / "odizodoruz.ini");
        engine.RaRaruCreate();
        EXPECT_EQ(engine.GetTrans(), c.expected) << c.what;
    }
}

TEST(Keys, SavedAtTheEndAsOneLine) {
    test::TTempDir dir;
    {
        TRaRaruInstance instance(dir / "odizodoruz.ini", true);
        EXPECT_EQ(RaRaru, &instance.Engine());
    }
    EXPECT_EQ(RaRaru, nullptr);
    EXPECT_EQ(test::ReadFile(dir / "odizodoruz.ini"), "[VN Key Current Encode]\nConversion='`?~.^(+Dd\\\n");

    // Other settings survive, and a changed key comes back at the next start.
    test::WriteFile(dir / "odizodoruz.ini",
                    "[MainForm]\r\nLeft=10\r\n\r\n[VN Key Current Encode]\r\nConversion='`?~.^(+Dd\\\r\n");
    {
        TRaRaruInstance instance(dir / "odizodoruz.ini", true);
        instance.Engine().SetTrans('#', "Mu");
    }
    EXPECT_EQ(test::ReadFile(dir / "odizodoruz.ini"),
              "[MainForm]\r\nLeft=10\r\n\r\n[VN Key Current Encode]\r\nConversion='`?~.#(+Dd\\\r\n");
    TRaRaruInstance again(dir / "odizodoruz.ini", false);
    EXPECT_EQ(again.Engine().GetTransKey("Mu"), '#');
}

TEST(Keys, SetAndGet) {
    TRaRaru engine("/nonexistent/odizodoruz.ini");
    engine.RaRaruCreate();
    engine.SetTrans('#', "Mu");
    EXPECT_EQ(engine.GetTransKey("Mu"), '#');
    EXPECT_EQ(engine.GetTrans(), "'`?~.#(+Dd\\");
    engine.SetTrans('!', "mu");  // names are compared exactly
    EXPECT_EQ(engine.GetTrans(), "'`?~.#(+Dd\\");
    EXPECT_EQ(engine.GetTransKey("nothing"), '\0');
    engine.SetTransDau("");
    EXPECT_EQ(engine.GetTrans(), "'`?~.^(+Dd\\");
    engine.SetTransDau("abcdefghijkLMN");
    EXPECT_EQ(engine.GetTrans(), "abcdefghijk");
}

TEST(Keys, ViqrTableFollowsTheKeysOnlyWhenRebuilt) {
    TRaRaru engine("/nonexistent/odizodoruz.ini");
    engine.RaRaruCreate();
    engine.BuildViqrTable();
    EXPECT_EQ(engine.ViqrTable()[7], "A('");
    EXPECT_EQ(engine.ViqrTable()[144], "DD");
    EXPECT_EQ(engine.ViqrTable()[145], "dd");
    EXPECT_EQ(engine.ViqrTable()[146], std::string(1, '\0'));
    EXPECT_EQ(engine.ViqrTable()[0], "A");
    EXPECT_EQ(engine.ViqrTable()[101], "e^.");
    EXPECT_EQ(engine.FindViqrLetter("A"), 0);
    EXPECT_EQ(engine.FindViqrLetter("A'"), 1);
    EXPECT_EQ(engine.FindViqrLetter("DD"), 144);
    EXPECT_EQ(engine.FindViqrLetter(std::string(1, '\0')), 146);
    EXPECT_EQ(engine.FindViqrLetter("xyz"), 0);
    engine.SetTrans('#', "Mu");
    EXPECT_EQ(engine.ViqrTable()[12], "A^");
    engine.BuildViqrTable();
    EXPECT_EQ(engine.ViqrTable()[12], "A#");
    // Two equal keys: the lower letter index wins.
    engine.SetTrans('\'', "Huyen");
    engine.BuildViqrTable();
    EXPECT_EQ(engine.FindViqrLetter("a'"), 73);
}

}  // namespace
}  // namespace odz
