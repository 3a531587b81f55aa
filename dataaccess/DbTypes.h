#pragma once
// Type codes, value status codes and result codes of the data-access layer. The numbers are
// fixed: plug-ins receive type codes (BlobValue carries one), and the binding and formatting rules
// are stated in them.
#include <cstdint>

namespace qb::data {

using DBTYPE = uint16_t;
enum : DBTYPE {
    DBTYPE_EMPTY = 0,
    DBTYPE_NULL = 1,
    DBTYPE_I2 = 2,
    DBTYPE_I4 = 3,
    DBTYPE_R4 = 4,
    DBTYPE_R8 = 5,
    DBTYPE_CY = 6, // 64-bit integer scaled by 10,000
    DBTYPE_DATE = 7,
    DBTYPE_BSTR = 8,
    DBTYPE_IDISPATCH = 9,
    DBTYPE_ERROR = 10,
    DBTYPE_BOOL = 11,
    DBTYPE_VARIANT = 12,
    DBTYPE_IUNKNOWN = 13, // bound as a stream object
    DBTYPE_DECIMAL = 14,
    DBTYPE_I1 = 16,
    DBTYPE_UI1 = 17,
    DBTYPE_UI2 = 18,
    DBTYPE_UI4 = 19,
    DBTYPE_I8 = 20,
    DBTYPE_UI8 = 21,
    DBTYPE_GUID = 72,
    DBTYPE_BYTES = 128,
    DBTYPE_STR = 129,  // narrow text: UTF-8 on this platform
    DBTYPE_WSTR = 130, // wide text: UTF-16 in host byte order
    DBTYPE_NUMERIC = 131,
    DBTYPE_DBDATE = 133,
    DBTYPE_DBTIME = 134,
    DBTYPE_DBTIMESTAMP = 135,
    DBTYPE_BYREF = 0x4000,
};

// Declared sizes that mean "unbounded" (long values) when binding: 0, a size the provider does
// not know, and the maximum sizes that providers report for a column without a limit.
constexpr uint32_t kUnboundedSizes[] = {0u, 0x1FFFFFFEu, 0x3FFFFFFFu, 0x7FFFFFFFu};
// The declared size our providers give an unbounded text or binary column (a long value).
constexpr uint32_t kLongValueSize = 0x7FFFFFFFu;

constexpr bool isUnboundedSize(uint32_t size)
{
    for (uint32_t unbounded : kUnboundedSizes)
        if (size == unbounded)
            return true;
    return false;
}

using DBSTATUS = uint32_t;
enum : DBSTATUS {
    DBSTATUS_S_OK = 0,
    DBSTATUS_E_BADACCESSOR = 1,
    DBSTATUS_E_CANTCONVERTVALUE = 2,
    DBSTATUS_S_ISNULL = 3,
    DBSTATUS_S_TRUNCATED = 4,
    DBSTATUS_E_SIGNMISMATCH = 5,
    DBSTATUS_E_DATAOVERFLOW = 6,
    DBSTATUS_E_CANTCREATE = 7,
    DBSTATUS_E_UNAVAILABLE = 8,
};

using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT DB_S_ENDOFROWSET = 0x00040EC6;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u); // unknown provider
constexpr HRESULT STG_E_FILENOTFOUND = static_cast<HRESULT>(0x80030002u);
constexpr HRESULT DB_E_ERRORSINCOMMAND = static_cast<HRESULT>(0x80040E14u);
constexpr HRESULT DB_E_NOTABLE = static_cast<HRESULT>(0x80040E37u);
constexpr HRESULT DB_E_CANCELED = static_cast<HRESULT>(0x80040E4Eu);
constexpr HRESULT DB_SEC_E_AUTH_FAILED = static_cast<HRESULT>(0x80040E4Du);
constexpr HRESULT DB_E_ERRORSOCCURRED = static_cast<HRESULT>(0x80040E21u);
constexpr HRESULT DB_E_BADACCESSORHANDLE = static_cast<HRESULT>(0x80040E00u);
constexpr HRESULT DB_E_CANTCONVERTVALUE = static_cast<HRESULT>(0x80040E07u);
constexpr HRESULT DB_E_NOTSUPPORTED = static_cast<HRESULT>(0x80040E53u);
constexpr HRESULT E_WIN32_CANCELLED = static_cast<HRESULT>(0x800704C7u); // the user cancelled

constexpr bool failed(HRESULT hr) { return hr < 0; }

} // namespace qb::data
