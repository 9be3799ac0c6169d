#!/bin/bash
# The cores link no Qt Widgets (nor Gui, nor PrintSupport), not even through another
# library. Two readings of the build: each core's compile flags as CMake wrote them
# (a core that reached Widgets would have its include directories), where the build has
# them; and the Qt libraries that the core's own test programs and the window-less tools
# are linked with (ldd), whatever the generator.
# Called with the source and build directories.
set -u
root="$1"
build="$2"
# folder:target, or the folder alone where the target is named after it
cores="store lp settings calc archive lists results documents maintenance platform:platformcore"
tools="kormoplan-calc dbfdump"
failed=0

guiLibraries() # the Qt libraries with windows that a program is linked with
{
    ldd "$1" | grep -oE 'libQt6(Widgets|Gui|PrintSupport)' | sort -u | tr '\n' ' '
}

checkProgram() # name, path
{
    if [ ! -x "$2" ]; then
        echo "$1: not built at $2"
        failed=1
        return
    fi
    local found
    found=$(guiLibraries "$2")
    if [ -n "$found" ]; then
        echo "$1: linked with $found"
        failed=1
    fi
}

for entry in $cores; do
    folder="${entry%%:*}"
    core="${entry#*:}"
    flags="$build/$folder/CMakeFiles/$core.dir/flags.make"
    if [ -f "$flags" ] && grep -qE 'QtWidgets|QtGui|QtPrintSupport' "$flags"; then
        echo "$core: built against $(grep -oE 'Qt(Widgets|Gui|PrintSupport)' "$flags" |
            sort -u | tr '\n' ' ')"
        failed=1
    fi
    tests=("$root/tests/$core"/tst_*.cpp)
    if [ ! -f "${tests[0]}" ]; then
        echo "$core: no test program in tests/$core to read the links of"
        failed=1
        continue
    fi
    for src in "${tests[@]}"; do
        name=$(basename "$src" .cpp)
        checkProgram "$core ($name)" "$build/tests/$name"
    done
done
for tool in $tools; do
    checkProgram "$tool" "$build/$tool"
done
exit $failed
