#ifndef QV_REPORTS_VERSION_H
#define QV_REPORTS_VERSION_H

// The product and its version, as every file the program writes names them.
inline constexpr const char* QV_PRODUIT = "quorvel";
inline constexpr const char* QV_VERSION = "quorvel 1.0";

#endif
