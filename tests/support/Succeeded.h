#pragma once

#include <gtest/gtest.h>

#include "base/Expected.h"

namespace quorrel::test {

// A result as a test assertion: success, or a failure in the result's own words, as in
// ASSERT_TRUE(test::succeeded(file.save(list))).
template <typename T>
::testing::AssertionResult succeeded(const Expected<T>& result) {
    if (result) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << result.error();
}

}  // namespace quorrel::test
