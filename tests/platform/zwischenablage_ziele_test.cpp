#include <gtest/gtest.h>

#include "platform/x11/x11_zwischenablage.h"

namespace klebwerk::x11 {
namespace {

TEST(ZwischenablageZiele, NurInhaltsZieleEinmalInReihenfolge) {
    EXPECT_EQ(inhaltsZiele({"TARGETS", "MULTIPLE", "image/png", "TIMESTAMP", "UTF8_STRING", "SAVE_TARGETS", "DELETE",
                            "INSERT_SELECTION", "INSERT_PROPERTY", "image/png", "", "STRING", "TEXT"}),
              (std::vector<std::string>{"image/png", "UTF8_STRING", "STRING", "TEXT"}));
    EXPECT_TRUE(inhaltsZiele({"TARGETS"}).empty());
}

TEST(ZwischenablageZiele, SystemtypenAuchUnterXZielenJeweilsHinterIhremTyp) {
    AblageEintrag bild{{"public.png", "PNG"}, {"public.file-url", "file:///tmp/a%20b.png"}};
    EXPECT_EQ(mitXZielen(bild), (AblageEintrag{{"public.png", "PNG"},
                                               {"image/png", "PNG"},
                                               {"public.file-url", "file:///tmp/a%20b.png"},
                                               {"text/uri-list", "file:///tmp/a%20b.png\r\n"}}));
    // Targets the item has already, and everything saved from X clients, stay as they are.
    AblageEintrag gesichert{{"UTF8_STRING", "x"}, {"public.utf8-plain-text", "y"}, {"image/png", "P"}};
    EXPECT_EQ(mitXZielen(gesichert), (AblageEintrag{{"UTF8_STRING", "x"},
                                                    {"public.utf8-plain-text", "y"},
                                                    {"text/plain;charset=utf-8", "y"},
                                                    {"image/png", "P"}}));
    AblageEintrag nurX{{"TEXT", "t"}, {"image/png", "P"}};
    EXPECT_EQ(mitXZielen(nurX), nurX);
}

}  // namespace
}  // namespace klebwerk::x11
