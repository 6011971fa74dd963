// Google Test first: the X headers behind the layouts define None and Bool, names it uses.
#include <gtest/gtest.h>

#include "ui/DialogLayouts.h"

#include <set>
#include <string>

namespace {

// The builder creates the rows in table order, so a parent or a "fromVert" must be a row that
// already exists when its own row is made.
TEST(DialogLayouts, EveryRowRefersOnlyToRowsAboveIt) {
  for (const DialogLayout& layout : DialogLayouts()) {
    SCOPED_TRACE(layout.dialogName);
    for (std::size_t index = 0; index < layout.rowCount; ++index) {
      const WidgetRow& row = layout.rows[index];
      SCOPED_TRACE(index);
      EXPECT_TRUE(row.parent == kShellRow ||
                  (row.parent >= 0 && static_cast<std::size_t>(row.parent) < index));
      for (const ResourceRow& resource : row.resources) {
        if (resource.name == nullptr || resource.kind != ResourceKind::kWidget) continue;
        EXPECT_GE(resource.value, 0);
        EXPECT_LT(static_cast<std::size_t>(resource.value), index) << resource.name;
      }
    }
  }
}

// Failure reports and the generated documentation name each window once.
TEST(DialogLayouts, DialogNamesAreDistinct) {
  std::set<std::string> names;
  for (const DialogLayout& layout : DialogLayouts()) {
    EXPECT_TRUE(names.insert(layout.dialogName).second) << layout.dialogName;
  }
}

}  // namespace
