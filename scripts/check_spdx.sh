#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every tracked file names its licence in an SPDX line near its top:
# "SPDX-License-Identifier: GPL-3.0-or-later", except the AppStream metainfo, whose line names
# its <metadata_license>. Files that cannot hold a comment, or state their licence themselves,
# are listed below; any other file without the line fails the check, and so does a binary file
# that is not listed.
# Usage: scripts/check_spdx.sh   The exit status is non-zero when a file lacks its line.
set -euo pipefail
cd "$(dirname "$0")/.."

# Shell patterns (matched against the whole path) of the files without an SPDX line, and why.
exempt=(
    LICENSE                   # the licence text itself
    README.md                 # the project's description; its licence section names the licence
    CMakePresets.json         # JSON has no comments
    web/manifest.webmanifest  # JSON has no comments
    debian/copyright          # DEP-5: states the licence of every file itself
    debian/changelog          # the Debian changelog format has no comments
    debian/source/format      # one line that dpkg-source reads whole
    'fuzz/corpus/*'           # fuzzer seeds: raw input bytes
    '*.png'                   # images (binary)
    '*.rgba'                  # raw icon pixels (binary); a .license file beside each names it
)
metainfo=packaging/de.pendro.Pendro.metainfo.xml
wanted="SPDX-License-Identifier: GPL-3.0-or-later"

passed=0
failed=0
while IFS= read -r -d '' file; do
    skip=0
    for pattern in "${exempt[@]}"; do
        # shellcheck disable=SC2053 # the pattern is meant to match as a glob
        if [[ "$file" == $pattern ]]; then
            skip=1
            break
        fi
    done
    [ "$skip" -eq 1 ] && continue
    [ -f "$file" ] || continue # deleted in the work tree but not yet in the index

    if ! grep -Iq . "$file" && [ -s "$file" ]; then
        echo "FAIL  $file: binary file that is not listed as exempt"
        failed=$((failed + 1))
        continue
    fi
    expected="$wanted"
    if [ "$file" = "$metainfo" ]; then
        licence=$(sed -n 's:.*<metadata_license>\(.*\)</metadata_license>.*:\1:p' "$file")
        expected="SPDX-License-Identifier: $licence"
    fi
    # The line may follow a "#!" line or an XML declaration, so the first five lines count.
    if head -n 5 "$file" | grep -Fq "$expected"; then
        passed=$((passed + 1))
    else
        echo "FAIL  $file: no \"$expected\" in its first lines"
        failed=$((failed + 1))
    fi
done < <(git ls-files -z)

echo "SPDX lines: $passed files carry theirs, $failed do not"
[ "$failed" -eq 0 ]
