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

}  // namespace
}  // namespace klebwerk::x11
