#include "text/format/FormatString.h"

#include "text/format/FormatOverrideContext.h"

FormatString LookupFormat(ByteRange builtIn) {
  return {AutoUString<UTF8>(builtIn.begin, builtIn.end),
          CurrentContext().GetOverride(builtIn, builtIn)};
}
