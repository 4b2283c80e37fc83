#!/usr/bin/env bash
# setup.exe must be a 64-bit GUI program that imports Windows system DLLs only.
dump=$(x86_64-w64-mingw32-objdump -p "$1") || { echo "objdump failed"; exit 1; }
fail=0
echo "$dump" | grep -q 'file format pei-x86-64' || { echo "not a 64-bit PE file"; fail=1; }
echo "$dump" | grep -Eq 'Subsystem\s+0*2\s' || { echo "not a GUI subsystem program"; fail=1; }
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|version|msvcrt|uxtheme|shlwapi|psapi|api-ms-win-crt-[a-z0-9-]+|api-ms-win-core-[a-z0-9-]+)\.dll$'
dlls=$(echo "$dump" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "no imports found"; fail=1; }
for dll in $dlls; do echo "$dll" | grep -Eq "$allowed" && echo "ok: $dll" || { echo "NOT A SYSTEM DLL: $dll"; fail=1; }; done
exit $fail
