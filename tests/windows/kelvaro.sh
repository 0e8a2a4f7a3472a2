#!/usr/bin/env bash
# Stands in for the program in the end-to-end tests: runs the Windows
# build's kelvaro.exe (KELVARO_EXE) under Wine with the same arguments,
# as the same process, so that its exit status is the program's.
exec wine "${KELVARO_EXE:?}" "$@"
