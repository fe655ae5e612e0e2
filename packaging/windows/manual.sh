#!/bin/sh
# The manual page as plain text with CR LF line ends, for Windows readers.
#   manual.sh PAGE.1 OUT.txt
set -e
groff -k -man -Tutf8 -P-cbou "$1" | sed 's/$/\r/' >"$2.tmp"
mv "$2.tmp" "$2"
