#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/qt_print.h"

namespace zandor::testing {

// Names each row of a TEST_P table after its `name` field, so that a failing
// row is found by name.
struct RowName {
  template <class Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
    return std::string(row.param.name);
  }
};

}  // namespace zandor::testing
