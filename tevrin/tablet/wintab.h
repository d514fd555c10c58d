#pragma once
// The project's own declarations of the published WinTab interface: only the
// records, values and entry points that the tablet code and its simulated
// driver use. The layouts are fixed by the interface, hence the size checks.
#include "tevrin/core/types.h"

#include <windows.h>

namespace tevrin {

struct wintab_context_tag;
using HCTX = wintab_context_tag*;  // a driver's context handle
using WTPKT = u32;                 // a mask of PK_ bits
using FIX32 = u32;                 // 16.16 fixed point

// Information categories (first argument of WTInfoA).
constexpr UINT WTI_INTERFACE = 1;
constexpr UINT WTI_STATUS = 2;
constexpr UINT WTI_DEFCONTEXT = 3;
constexpr UINT WTI_DEFSYSCTX = 4;
constexpr UINT WTI_DEVICES = 100;     // plus the device index
constexpr UINT WTI_CURSORS = 200;     // plus the cursor index
constexpr UINT WTI_EXTENSIONS = 300;  // plus the extension index

// Items of the WTI_INTERFACE category.
constexpr UINT IFC_WINTABID = 1;  // text
constexpr UINT IFC_SPECVERSION = 2;  // WORD: major in the high byte
constexpr UINT IFC_IMPLVERSION = 3;  // WORD
constexpr UINT IFC_NDEVICES = 4;
constexpr UINT IFC_NCURSORS = 5;
constexpr UINT IFC_NCONTEXTS = 6;
constexpr UINT IFC_CTXOPTIONS = 7;
constexpr UINT IFC_CTXSAVESIZE = 8;
constexpr UINT IFC_NEXTENSIONS = 9;
constexpr UINT IFC_NMANAGERS = 10;

// Items of a WTI_DEVICES category.
constexpr UINT DVC_NAME = 1;  // text
constexpr UINT DVC_HARDWARE = 2;
constexpr UINT DVC_NCSRTYPES = 3;
constexpr UINT DVC_FIRSTCSR = 4;
constexpr UINT DVC_PKTRATE = 5;
constexpr UINT DVC_PKTDATA = 6;
constexpr UINT DVC_PKTMODE = 7;
constexpr UINT DVC_X = 12;  // AXIS
constexpr UINT DVC_Y = 13;
constexpr UINT DVC_Z = 14;
constexpr UINT DVC_NPRESSURE = 15;
constexpr UINT DVC_TPRESSURE = 16;
constexpr UINT DVC_ORIENTATION = 17;  // AXIS[3]: azimuth, altitude, twist
constexpr UINT DVC_ROTATION = 18;     // AXIS[3]: pitch, roll, yaw
constexpr UINT DVC_PNPID = 19;        // text

// Axis units (axUnits).
constexpr UINT TU_NONE = 0;
constexpr UINT TU_INCHES = 1;
constexpr UINT TU_CENTIMETERS = 2;
constexpr UINT TU_CIRCLE = 3;

// Hardware capabilities (DVC_HARDWARE).
constexpr UINT HWC_INTEGRATED = 0x0001;
constexpr UINT HWC_TOUCH = 0x0002;
constexpr UINT HWC_HARDPROX = 0x0004;
constexpr UINT HWC_PHYSID_CURSORS = 0x0008;

// Items of a WTI_CURSORS category.
constexpr UINT CSR_NAME = 1;  // text
constexpr UINT CSR_ACTIVE = 2;
constexpr UINT CSR_PKTDATA = 3;
constexpr UINT CSR_BUTTONS = 4;  // BYTE
constexpr UINT CSR_BUTTONBITS = 5;
constexpr UINT CSR_BTNNAMES = 6;  // texts, each terminated, ended by an empty one
constexpr UINT CSR_BUTTONMAP = 7;
constexpr UINT CSR_NPBUTTON = 9;
constexpr UINT CSR_NPBTNMARKS = 10;
constexpr UINT CSR_PHYSID = 15;
constexpr UINT CSR_CAPABILITIES = 19;
constexpr UINT CSR_TYPE = 20;

// Cursor capabilities (CSR_CAPABILITIES).
constexpr UINT CRC_MULTIMODE = 0x0001;
constexpr UINT CRC_AGGREGATE = 0x0002;
constexpr UINT CRC_INVERT = 0x0004;

// Items of a WTI_EXTENSIONS category.
constexpr UINT EXT_NAME = 1;  // text
constexpr UINT EXT_TAG = 2;

// Packet items (lcPktData, lcPktMode, lcMoveMask).
constexpr WTPKT PK_CONTEXT = 0x0001;
constexpr WTPKT PK_STATUS = 0x0002;
constexpr WTPKT PK_TIME = 0x0004;
constexpr WTPKT PK_CHANGED = 0x0008;
constexpr WTPKT PK_SERIAL_NUMBER = 0x0010;
constexpr WTPKT PK_CURSOR = 0x0020;
constexpr WTPKT PK_BUTTONS = 0x0040;
constexpr WTPKT PK_X = 0x0080;
constexpr WTPKT PK_Y = 0x0100;
constexpr WTPKT PK_Z = 0x0200;
constexpr WTPKT PK_NORMAL_PRESSURE = 0x0400;
constexpr WTPKT PK_TANGENT_PRESSURE = 0x0800;
constexpr WTPKT PK_ORIENTATION = 0x1000;
constexpr WTPKT PK_ROTATION = 0x2000;

// Packet status bits.
constexpr u32 TPS_PROXIMITY = 0x01;
constexpr u32 TPS_QUEUE_ERR = 0x02;
constexpr u32 TPS_MARGIN = 0x04;
constexpr u32 TPS_GRAB = 0x08;
constexpr u32 TPS_INVERT = 0x10;

// Context options (lcOptions).
constexpr UINT CXO_SYSTEM = 0x0001;
constexpr UINT CXO_PEN = 0x0002;
constexpr UINT CXO_MESSAGES = 0x0004;
constexpr UINT CXO_CSRMESSAGES = 0x0008;
constexpr UINT CXO_MGNINSIDE = 0x4000;
constexpr UINT CXO_MARGIN = 0x8000;

// Window messages a driver sends to a context's window.
constexpr UINT WT_DEFBASE = 0x7FF0;
constexpr UINT WT_PACKET = WT_DEFBASE + 0;
constexpr UINT WT_PROXIMITY = WT_DEFBASE + 5;
constexpr UINT WT_INFOCHANGE = WT_DEFBASE + 6;

constexpr int LCNAMELEN = 40;

struct LOGCONTEXTA {
    char lcName[LCNAMELEN];
    UINT lcOptions;
    UINT lcStatus;
    UINT lcLocks;
    UINT lcMsgBase;
    UINT lcDevice;
    UINT lcPktRate;
    WTPKT lcPktData;
    WTPKT lcPktMode;
    WTPKT lcMoveMask;
    DWORD lcBtnDnMask;
    DWORD lcBtnUpMask;
    LONG lcInOrgX;
    LONG lcInOrgY;
    LONG lcInOrgZ;
    LONG lcInExtX;
    LONG lcInExtY;
    LONG lcInExtZ;
    LONG lcOutOrgX;
    LONG lcOutOrgY;
    LONG lcOutOrgZ;
    LONG lcOutExtX;
    LONG lcOutExtY;
    LONG lcOutExtZ;
    FIX32 lcSensX;
    FIX32 lcSensY;
    FIX32 lcSensZ;
    BOOL lcSysMode;
    int lcSysOrgX;
    int lcSysOrgY;
    int lcSysExtX;
    int lcSysExtY;
    FIX32 lcSysSensX;
    FIX32 lcSysSensY;
};
static_assert(sizeof(LOGCONTEXTA) == 172, "LOGCONTEXTA must match the driver's layout");

struct AXIS {
    LONG axMin;
    LONG axMax;
    UINT axUnits;
    FIX32 axResolution;
};
static_assert(sizeof(AXIS) == 16, "AXIS must match the driver's layout");

// A packet's PK_ORIENTATION item, in tenths of a degree.
struct ORIENTATION {
    int orAzimuth;
    int orAltitude;
    int orTwist;
};

// The bytes one packet item takes; items appear in a packet in ascending bit order.
// PK_CONTEXT carries the context handle, PK_ORIENTATION and PK_ROTATION three ints.
constexpr u32 packet_item_size(WTPKT item)
{
    return item == PK_CONTEXT ? sizeof(HCTX) : (item == PK_ORIENTATION || item == PK_ROTATION) ? 12 : 4;
}

// The one packet item whose size differs between x86 (4 bytes) and x64 (8 bytes).
static_assert(packet_item_size(PK_CONTEXT) == sizeof(void*), "PK_CONTEXT carries a handle");

// The packet layout the driver produces for lcPktData = tablet_packet_items,
// every item absolute: the items in ascending bit order.
constexpr WTPKT tablet_packet_items = PK_STATUS | PK_CHANGED | PK_CURSOR | PK_BUTTONS | PK_X | PK_Y | PK_NORMAL_PRESSURE;
static_assert(tablet_packet_items == 0x5EA, "packet items changed without the packet record");

struct tablet_packet {
    u32 status;
    u32 changed;
    u32 cursor;
    u32 buttons;
    i32 x;
    i32 y;
    u32 normal_pressure;
};
static_assert(sizeof(tablet_packet) == 28, "tablet_packet must match the driver's layout");

// The entry points, with the interface's calling convention.
using WTInfoA_entry = UINT(WINAPI*)(UINT category, UINT index, LPVOID output);
using WTOpenA_entry = HCTX(WINAPI*)(HWND window, LOGCONTEXTA* settings, BOOL enable);
using WTClose_entry = BOOL(WINAPI*)(HCTX context);
using WTQueueSizeSet_entry = BOOL(WINAPI*)(HCTX context, int size);
using WTPacketsGet_entry = int(WINAPI*)(HCTX context, int maximum, LPVOID packets);
using WTPacketsPeek_entry = int(WINAPI*)(HCTX context, int maximum, LPVOID packets);
using WTGetA_entry = BOOL(WINAPI*)(HCTX context, LOGCONTEXTA* settings);
using WTOverlap_entry = BOOL(WINAPI*)(HCTX context, BOOL toTop);

}  // namespace tevrin
