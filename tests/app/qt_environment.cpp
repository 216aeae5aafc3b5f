// One QApplication for the whole test program, configured as the program's.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/start_up.h"

namespace {

class QtEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    application_ = new QApplication(argc, argv);
    app::ConfigureApplication(*application_);
  }
  void TearDown() override { delete application_; }

 private:
  QApplication* application_ = nullptr;
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
