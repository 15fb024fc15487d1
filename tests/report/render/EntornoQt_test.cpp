// One QApplication for every test of this program; offscreen unless told otherwise.
#include <QApplication>
#include <gtest/gtest.h>

namespace {

class EntornoQt : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char nombre[] = "test_report_render";
    static char* argv[] = {nombre, nullptr};
    app_ = new QApplication(argc, argv);
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  QApplication* app_ = nullptr;
};

const auto* const kEntorno = ::testing::AddGlobalTestEnvironment(new EntornoQt);

}  // namespace
