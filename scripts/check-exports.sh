#!/usr/bin/env bash
# Passes when the DLL exports exactly the four COM server entry points, undecorated.
set -u
objdump=$1 dll=$2
expected=$'DllCanUnloadNow\nDllGetClassObject\nDllRegisterServer\nDllUnregisterServer'
actual=$("$objdump" -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[ \t]*\[/{print $NF;next} t&&!/^[ \t]*\[/{t=0}' | sort)
echo "exports of $dll:"
echo "$actual"
if [ "$actual" != "$expected" ]; then
  echo "expected exactly:"; echo "$expected"
  exit 1
fi
imports=$("$objdump" -p "$dll" | awk '/DLL Name:/{print $3}' | sort -u)
echo "imports:"; echo "$imports"
if echo "$imports" | grep -qi -E 'libstdc|libgcc|libwinpthread'; then
  echo "the DLL needs a MinGW runtime DLL"
  exit 1
fi
