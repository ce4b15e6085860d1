# Cross build for 32-bit Windows with Debian's MinGW-w64 toolchain.
#
#   cmake -S . -B build-windows/build -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake
#
# The libraries without a MinGW package (pugixml, minizip) are looked up in the
# prefix that scripts/build-windows.sh fills (build-windows/deps, or the folder
# named by the environment variable DR_WINDOWS_DEPS), everything else in the
# MinGW sysroot. Binaries link the GCC runtime, libstdc++ and winpthread
# statically, so a DLL built here imports only DLLs that ship with Windows.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(DR_MINGW_TRIPLET i686-w64-mingw32)
set(DR_MINGW_SYSROOT /usr/${DR_MINGW_TRIPLET})

if(DEFINED ENV{DR_WINDOWS_DEPS})
  set(DR_WINDOWS_DEPS "$ENV{DR_WINDOWS_DEPS}")
else()
  get_filename_component(DR_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build-windows/deps" ABSOLUTE)
endif()

# The posix thread model: GCC 12's win32 model has no std::mutex or std::thread.
# Named explicitly because the unsuffixed names follow update-alternatives.
set(CMAKE_C_COMPILER ${DR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${DR_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH ${DR_WINDOWS_DEPS} ${DR_MINGW_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libz-mingw-w64-dev ships libz.a next to an import library for zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)

# pkg-config must see the Windows .pc files only, never the host's.
set(ENV{PKG_CONFIG_LIBDIR} "${DR_WINDOWS_DEPS}/lib/pkgconfig:${DR_MINGW_SYSROOT}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# -static makes the driver pick libgcc, libstdc++ and libwinpthread archives,
# also for -shared; Windows system DLLs are still linked through import libraries.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Lets ctest and gtest_discover_tests start the .exe files; wine reads WINEPREFIX
# from the environment.
find_program(DR_WINE_EXECUTABLE NAMES wine)
if(DR_WINE_EXECUTABLE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${DR_WINE_EXECUTABLE})
endif()
