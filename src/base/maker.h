#pragma once
// Facts about the product and its maker that the windows and messages show: the product
// name, the support address the error report asks for, and the web pages the program points to.

namespace quintabel::maker {

inline constexpr char kProductName[] = "Quintabel";
inline constexpr char kSupportEmail[] = "support@corvandel.example";
inline constexpr char kWebSite[] = "https://www.corvandel.example/quintabel/";
inline constexpr char kWorkbenchDownloadPage[] = "https://dev.mysql.com/downloads/workbench/";
// The tables window's "Help" names it.
inline constexpr char kContactPage[] = "https://www.corvandel.example/contact/";

} // namespace quintabel::maker
