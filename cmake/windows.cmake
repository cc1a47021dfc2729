# What the Windows build sets before the common folders: the Win32 API
# level and the resource compiler. Included from the top-level
# CMakeLists.txt when the target system is Windows.

# Unicode Win32 everywhere (the W functions), Windows 7 API level and up.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# Resource scripts (icons, manifest, version, dialog layouts) with windres.
enable_language(RC)

