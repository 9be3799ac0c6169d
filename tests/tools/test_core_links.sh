#!/bin/bash
# The cores link no Qt Widgets: a library that did (itself or through another) would be
# compiled with QtWidgets or QtGui among its include directories. Each core's compile
# flags, as CMake wrote them into the build directory, are read for that.
# Called with the source and build directories.
set -u
build="$2"
# folder:target, or the folder alone where the target is named after it
cores="store settings calc archive lists results documents maintenance platform:platformcore"
failed=0
for entry in $cores; do
    folder="${entry%%:*}"
    core="${entry#*:}"
    flags="$build/$folder/CMakeFiles/$core.dir/flags.make"
    if [ ! -f "$flags" ]; then
        echo "$core: no compile flags at $flags"
        failed=1
    elif grep -qE 'QtWidgets|QtGui|QtPrintSupport' "$flags"; then
        echo "$core: built against $(grep -oE 'Qt(Widgets|Gui|PrintSupport)' "$flags" | sort -u | tr '\n' ' ')"
        failed=1
    fi
done
exit $failed
