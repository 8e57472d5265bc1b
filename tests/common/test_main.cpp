// Shared main of the test programs: COM on the main thread (MSXML needs it), then GoogleTest.
#include <gtest/gtest.h>

#include "framework/com.h"

int main(int argc, char** argv) {
  tw::CComInit com;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
