#include "libs/common/com/com_object.h"

namespace corvella::com {

void RefCount::Destroy() { delete this; }

}  // namespace corvella::com
