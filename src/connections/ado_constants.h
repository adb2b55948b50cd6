#pragma once
// The ADO numbers that callers pass to Connection and Recordset.

namespace quintabel::connections {

inline constexpr int adUseServer = 2;
inline constexpr int adUseClient = 3;

inline constexpr int adModeUnknown = 0;
inline constexpr int adModeRead = 1;
inline constexpr int adModeWrite = 2;
inline constexpr int adModeReadWrite = 3;

inline constexpr int adStateClosed = 0;
inline constexpr int adStateOpen = 1;

inline constexpr int adSchemaTables = 20;

inline constexpr int adOpenUnspecified = -1;
inline constexpr int adOpenForwardOnly = 0;
inline constexpr int adOpenKeyset = 1;
inline constexpr int adOpenDynamic = 2;
inline constexpr int adOpenStatic = 3;

inline constexpr int adLockUnspecified = -1;
inline constexpr int adLockReadOnly = 1;
inline constexpr int adLockOptimistic = 3;

} // namespace quintabel::connections
