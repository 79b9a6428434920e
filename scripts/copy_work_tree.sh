#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copies the work tree's files into a folder: in a git checkout the tracked and the new ones,
# none that .gitignore names (and not the tracked files deleted in the work tree); without git
# (as in the copy that scripts/debian_chroot.sh makes, which holds just those files) everything
# but build/. Run from the top of the work tree.
# Usage: scripts/copy_work_tree.sh <folder>
set -euo pipefail
dest="${1:?usage: scripts/copy_work_tree.sh <folder>}"
files=()
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    while IFS= read -r -d '' file; do
        [ -e "$file" ] && files+=("$file")
    done < <(git ls-files -z --cached --others --exclude-standard)
else
    while IFS= read -r -d '' file; do
        files+=("$file")
    done < <(find . -path ./build -prune -o \( -type f -o -type l \) -print0)
fi
mkdir -p "$dest"
tar -cf - -- "${files[@]}" | tar -xf - -C "$dest"
