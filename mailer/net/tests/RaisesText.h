#pragma once

#include <exception>

#include "gtest/gtest.h"

// Expects statement to raise an exception of Class (or derived) with the message text.
#define EXPECT_RAISES(statement, Class, text)                            \
  try {                                                                  \
    statement;                                                           \
    ADD_FAILURE() << #statement " raised nothing";                       \
  } catch (const Class& e) {                                             \
    EXPECT_EQ(e.Message(), text);                                        \
  } catch (const std::exception& e) {                                    \
    ADD_FAILURE() << #statement " raised another class: " << e.what();   \
  }
