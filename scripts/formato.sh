#!/usr/bin/env bash
# The C++ of the tree as .clang-format writes it: any line that clang-format would change fails.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
