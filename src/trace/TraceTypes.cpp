#include "TraceTypes.h"

namespace {
constexpr const char* kTypeNames[TraceMsgTypeCount] = {
    "tmtInformation", "tmtWarning",       "tmtError",        "tmtSeparator",  "tmtEnterProc",
    "tmtLeaveProc",   "tmtTimeMarkStart", "tmtTimeMarkStop", "tmtMemoryDump", "tmtException",
    "tmtObject",      "tmtComponent",     "tmtCustom",       "tmtSystem",
};
}  // namespace

const char* TraceMsgTypeName(uint32_t Type) {
  if (Type >= static_cast<uint32_t>(TraceMsgTypeCount)) return "";
  return kTypeNames[Type];
}
