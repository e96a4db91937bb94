#!/bin/sh
# Makes the one-file page: the shell with the dialog font and the program
# (its WebAssembly already inside the script) written into it.
# usage: assemble.sh shell.html font.woff program.js out.html icon.png
set -eu
shell=$1 font=$2 script=$3 out=$4 icon=$5
# The icon is the favicon too: inside, so that no request asks for a missing one.
sed "s|@ICON@|$(base64 -w0 "$icon")|" "$1" > "$out.shell"
shell=$out.shell
{
  sed -n '1,/@FONT@/p' "$shell" | sed '$d'
  sed -n '/@FONT@/p' "$shell" | sed 's/@FONT@.*//' | tr -d '\n'
  base64 -w0 "$font"
  sed -n '/@FONT@/p' "$shell" | sed 's/.*@FONT@//'
  sed -n '/@FONT@/,/@SCRIPT@/p' "$shell" | sed '1d;$d'
  cat "$script"
  sed -n '/@SCRIPT@/,$p' "$shell" | sed '1d'
} > "$out.tmp"
rm "$out.shell"
mv "$out.tmp" "$out"
