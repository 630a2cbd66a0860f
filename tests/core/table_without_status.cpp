// Must not compile: the control table with its hidden label renamed. The compiler is to name the
// control it lacks (tests/CMakeLists.txt, core.table_is_checked_by_the_compiler).
#include "app/control_table.h"

namespace fernwick {

constexpr ControlTable kRenamed = [] {
    ControlTable table = kControlTable;
    table.controls[Named::status].name = u"state";
    return table;
}();
template struct NamedControls<kRenamed>;

}  // namespace fernwick
