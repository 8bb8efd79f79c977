#include <gtest/gtest.h>
TEST(Placeholder, Dialog) { SUCCEED(); }
