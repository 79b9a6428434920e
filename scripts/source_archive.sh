#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the corresponding source of a build: the work tree's files as scripts/copy_work_tree.sh
# copies them (in a git checkout the tracked and new files, none that .gitignore names), in a
# gzip-compressed tar below pendro-<version>/. The archive is reproducible: names sorted, owner
# root, every file's time SOURCE_DATE_EPOCH (by default the last commit's time), no time stamp
# in the gzip header; two runs over the same files give the same bytes.
# Usage: scripts/source_archive.sh <file.tar.gz>   (run from anywhere in the work tree)
set -euo pipefail
out="${1:?usage: scripts/source_archive.sh <file.tar.gz>}"
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(Pendro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) || SOURCE_DATE_EPOCH=0
fi
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
scripts/copy_work_tree.sh "$stage/pendro-$version"
mkdir -p "$(dirname "$out")"
tar --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
    --mode='go-w' --format=gnu -C "$stage" -cf - "pendro-$version" | gzip -9 -n >"$out.partial"
mv "$out.partial" "$out"
