# Cross-compiles for another Debian architecture with Debian's own multiarch toolchain and
# libraries (crossbuild-essential-<arch>, qt6-base-dev:<arch>, ...), the host's Qt tools (moc,
# rcc) doing the generating. Chosen by scripts/package --arch, which passes METER_DEBIAN_ARCH
# (arm64 or armhf).
set(METER_DEBIAN_ARCH arm64 CACHE STRING "The Debian architecture to build for")
# CMake reads this file again for each of its trial builds: they must build for the same target,
# or their pkg-config path would be another architecture's.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES METER_DEBIAN_ARCH)
if(METER_DEBIAN_ARCH STREQUAL "arm64")
    set(CMAKE_SYSTEM_PROCESSOR aarch64)
    set(METER_GNU_TRIPLET aarch64-linux-gnu)
    set(METER_QEMU_NAME qemu-aarch64-static)
elseif(METER_DEBIAN_ARCH STREQUAL "armhf")
    set(CMAKE_SYSTEM_PROCESSOR armv7l)
    set(METER_GNU_TRIPLET arm-linux-gnueabihf)
    set(METER_QEMU_NAME qemu-arm-static)
else()
    message(FATAL_ERROR "no cross toolchain for the Debian architecture ${METER_DEBIAN_ARCH}")
endif()
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${METER_GNU_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${METER_GNU_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${METER_GNU_TRIPLET})
# Libraries and headers of the target only; programs (moc, pkg-config) of the host.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_FIND_ROOT_PATH /usr/lib/${METER_GNU_TRIPLET} /usr)
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${METER_GNU_TRIPLET}/pkgconfig:/usr/share/pkgconfig)
# ctest runs each test through qemu, so no binfmt_misc is needed.
find_program(METER_QEMU ${METER_QEMU_NAME} REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${METER_QEMU})
