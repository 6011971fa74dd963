// The data-less exceptions shared by the foundation layers (capacity, encoding, numerals,
// binary bytes).
#pragma once

#include "foundation/platform/DebuggableException.h"

QVX_DECLARE_EXCEPTION(DataOverflow, DebuggableException, "output buffer too small for the data");
QVX_DECLARE_EXCEPTION(ConstDataCapacityExceeded, DebuggableException,
                      "text longer than its fixed capacity");
QVX_DECLARE_EXCEPTION(NumeralTooLarge, DebuggableException, "numeral too large for its width");
QVX_DECLARE_EXCEPTION(InvalidTextEncoding, DebuggableException, "malformed text encoding");
QVX_DECLARE_EXCEPTION(UnrepresentableBinaryStringU8, DebuggableException,
                      "bytes that are not UTF-8 text");

namespace UnixPlatform {
QVX_DECLARE_EXCEPTION(MultiByteToWideConvertError, DebuggableException,
                      "text the locale's encoding cannot read");
QVX_DECLARE_EXCEPTION(WideToMultiByteConvertError, DebuggableException,
                      "text the locale's encoding cannot hold");
}  // namespace UnixPlatform
