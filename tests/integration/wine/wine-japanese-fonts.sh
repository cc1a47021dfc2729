#!/bin/sh
# Wine has no Japanese system fonts: the menus, the title bars and the
# message boxes use Tahoma, which holds no Japanese characters. As a
# Japanese Windows links its UI fonts to a Japanese one, the prefix in
# $WINEPREFIX links them to Noto Sans CJK JP (Debian: fonts-noto-cjk), so
# every Japanese text of the program renders. Tarvik's own windows find a
# Japanese font without this.
set -eu
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for font in Tahoma "Tahoma Bold" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
  wine reg add "$key" /v "$font" /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f >/dev/null 2>&1
done
# The fixed-pitch face of the text areas falls back to Courier New where no
# Japanese monospaced face says it is one.
wine reg add "$key" /v "Courier New" /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans Mono CJK JP' /f >/dev/null 2>&1
