// Opaque handles that the system's code holds for platform objects. Only platform/qt knows
// what stands behind them.
#pragma once

using WindowHandle = struct PlatformWindow*;
using InstanceHandle = struct PlatformInstance*;
using BitmapHandle = struct PlatformBitmap*;
using FontHandle = struct PlatformFont*;
using DcHandle = struct PlatformDc*;
