#!/bin/sh
# Runs tarvik.exe ($TARVIK_EXE) under Wine in place of this script, so the
# test's signals reach the Windows program itself.
exec "${TARVIK_WINE:-wine}" "$TARVIK_EXE" "$@"
