// The first processor's times as the kernel accounts them.
#pragma once

#include "common/processor_counter.h"

namespace quellor::win32 {

// Reads processor 0's times; false when the system does not tell them.
bool ReadProcessorTimes(ProcessorTimes& times);

}  // namespace quellor::win32
