// The tests' main: pins the time zone and the locale, and keeps Qt off any display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
  setenv("TZ", "Europe/Warsaw", 1);
  setenv("LC_ALL", "C.UTF-8", 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  tzset();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
