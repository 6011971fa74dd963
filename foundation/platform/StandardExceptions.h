// The data-less exceptions shared by the foundation layers (capacity, encoding, numerals,
// data overflow). Each one's text is its own type name.
#pragma once

#include "foundation/platform/DebuggableException.h"

QVX_DECLARE_EXCEPTION(DataOverflow, DebuggableException);
QVX_DECLARE_EXCEPTION(ConstDataCapacityExceeded, DebuggableException);
QVX_DECLARE_EXCEPTION(NumeralTooLarge, DebuggableException);
QVX_DECLARE_EXCEPTION(NoMoreData, DebuggableException);
QVX_DECLARE_EXCEPTION(InvalidTextEncoding, DebuggableException);
QVX_DECLARE_EXCEPTION(IllegalFileName, DebuggableException);
QVX_DECLARE_EXCEPTION(FileLoopUninitialized, DebuggableException);
QVX_DECLARE_EXCEPTION(UnrepresentableBinaryString, DebuggableException);
QVX_DECLARE_EXCEPTION(UnrepresentableBinaryStringU8, UnrepresentableBinaryString);
QVX_DECLARE_EXCEPTION(UnrepresentableBinaryStringU16, UnrepresentableBinaryString);

namespace UnixPlatform {
QVX_DECLARE_EXCEPTION(MultiByteToWideConvertError, DebuggableException);
QVX_DECLARE_EXCEPTION(WideToMultiByteConvertError, DebuggableException);
}  // namespace UnixPlatform
