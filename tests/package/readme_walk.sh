# Sourced by the package tests: runs the README's commands as a reader does, from the root of a
# copy of the tree, so that the README cannot drift from the code. A block is the fenced block
# after a line <!-- readme-walk: NAME -->. Before sourcing, set README, PREFIX (the scratch
# prefix that stands in for /usr/local), QT_MAJOR and optionally CONFIGURE_OPTIONS (an array).
#
# What a reader's machine does differently from a test's:
# - /usr/local is PREFIX, and sudo is left out; CMake and pkg-config search PREFIX as they
#   search /usr/local (CMAKE_PREFIX_PATH, PKG_CONFIG_PATH), and ldconfig, which would not look
#   there, makes its libraries known to the loader through LD_LIBRARY_PATH instead;
# - Qt 6 as the README's table says: -DBLL_QT_MAJOR=6 on each configure line, Qt 6's rcc and
#   the pkg-config name Bll_Painted_ItemQt6;
# - a line that runs the example runs it headless for 3 s: it must still be running then,
#   and print nothing about its QML.

export CMAKE_PREFIX_PATH=$PREFIX PKG_CONFIG_PATH=$PREFIX/lib/pkgconfig
if [ "$QT_MAJOR" = 6 ]; then
    CONFIGURE_OPTIONS+=(-DBLL_QT_MAJOR=6)
fi

cmake() {
    if [ "$1" = -S ]; then
        command cmake "$@" "${CONFIGURE_OPTIONS[@]}"
    else
        command cmake "$@"
    fi
}
ldconfig() { export LD_LIBRARY_PATH=$PREFIX/lib; }

# readme_block <name>: the block's lines, continuation lines joined.
readme_block() {
    awk -v marker="<!-- readme-walk: $1 -->" '
        $0 == marker { found = 1; next }
        found && /^```/ { if (inside) exit; inside = 1; next }
        inside && /\\$/ { line = line substr($0, 1, length($0) - 1); next }
        inside { print line $0; line = "" }
    ' "$README"
}

# run_headless <program>: the program shows its window offscreen and keeps running.
run_headless() {
    local status=0
    QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software timeout 3 "$1" 2>"$1.stderr" || status=$?
    if [ "$status" -ne 124 ] || grep -q 'qml' "$1.stderr"; then
        echo "$1 did not run (exit status $status):"
        cat "$1.stderr"
        return 1
    fi
}

# walk <name>: runs the block's lines one by one in the current directory; the first that fails
# fails the walk.
walk() {
    local script line
    script=$(readme_block "$1" | sed -e "s|/usr/local|$PREFIX|g" -e 's/\bsudo //g')
    [ -n "$script" ] || { echo "README: no block '$1'"; return 1; }
    if [ "$QT_MAJOR" = 6 ]; then
        script=$(sed -e 's|^\(.*&& \)\?rcc |\1/usr/lib/qt6/libexec/rcc |' \
            -e 's/\bBll_Painted_Item)/Bll_Painted_ItemQt6)/' <<<"$script")
    fi
    echo "== README: $1"
    while IFS= read -r line <&3; do
        echo "\$ $line"
        if [[ $line =~ ^[^\ ]+/minimal$ ]]; then
            run_headless "$line" || return 1
        elif ! eval "$line" >>"walk-$1.log" 2>&1; then
            tail -n 30 "walk-$1.log"
            echo "README block '$1' fails at: $line"
            return 1
        fi
    done 3<<<"$script"
}

# quoted <name> <file>: every line of the block is a line of the file (comments and
# indentation aside), so that what the README quotes is what the walk builds.
quoted() {
    local line
    while IFS= read -r line; do
        line=$(sed -e 's/ *#.*//' -e 's/^ *//' <<<"$line")
        [ -z "$line" ] || sed -e 's/ *#.*//' -e 's/^ *//' "$2" | grep -Fxq -- "$line" \
            || { echo "README block '$1': '$line' is not in $2"; return 1; }
    done < <(readme_block "$1")
}
