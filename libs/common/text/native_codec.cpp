#include "libs/common/text/codec.h"

namespace corvella {
const AnsiCodec& system_codec() { return cp1252_codec(); }
}  // namespace corvella
