#!/usr/bin/env bash
# Stands in for the program in the end-to-end tests: runs the arm64 build
# (KELVARO_ARM64) under QEMU's user-mode emulation with the same
# arguments, as the same process, so that its exit status is the
# program's. It finds the arm64 loader and libraries in the machine's
# multiarch folders.
exec qemu-aarch64-static "${KELVARO_ARM64:?}" "$@"
