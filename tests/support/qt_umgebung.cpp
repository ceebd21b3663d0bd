// One QApplication for the whole test program, on Qt's offscreen platform unless
// the environment chose another.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include <QApplication>

namespace {

class QtUmgebung : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        anwendung_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { anwendung_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "klebwerk_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> anwendung_;
};

[[maybe_unused]] ::testing::Environment* const umgebung = ::testing::AddGlobalTestEnvironment(new QtUmgebung);

}  // namespace
