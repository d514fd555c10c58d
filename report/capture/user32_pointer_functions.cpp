// The pointer functions of the system's user32, for the program itself; kept apart so
// that a test build can link its own instead, and nothing at run time chooses.
#include "report/capture/pointer_input.h"
#include "report/machine/system_function.h"

namespace nibscope_report {

pointer_functions find_pointer_functions()
{
    pointer_functions functions;
    functions.get_type = system_function<decltype(functions.get_type)>("GetPointerType");
    functions.get_pen_info = system_function<decltype(functions.get_pen_info)>("GetPointerPenInfo");
    functions.get_pen_history = system_function<decltype(functions.get_pen_history)>("GetPointerPenInfoHistory");
    return functions;
}

}  // namespace nibscope_report
