#!/usr/bin/env bash
# Makes the look tests' reference pictures anew: the main window
# (tests/e2e/reference/window.png, by e2e.fade) and the skin tests' form
# (tests/skin/reference/skin_form.png, by skin_tests), from the real program
# and the real skin, on a private Xvfb in the tests' own Wine prefix. Run it
# when the look changes on purpose; look at the pictures before committing.
set -euo pipefail
CLIP_LOOK_RENEW=1 "$(dirname "$0")/test.sh" -R '^(skin_tests|e2e\.fade)$'
printf '==> %s\n' "written; see: git status tests/e2e/reference tests/skin/reference" >&2
