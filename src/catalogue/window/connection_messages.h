#pragma once
// The answers of the connection window's two "Test Connection" buttons.

namespace quintabel {

inline constexpr char kConnectionSuccessful[] = "Connection successful.";
inline constexpr char kParadoxCouldNotConnect[] = "Could not connect.";
inline constexpr char kMySqlCouldNotConnect[] =
    "Could not connect. Please check with your administrator. Make sure you are allowed to "
    "connect to your database remotely and not just through web-based control panels.";

} // namespace quintabel
