#!/usr/bin/env bash
# make soak: the real Morvane.exe under 1,000 seeded random inputs while a clip
# plays, on a screen and Wine desktop of its own (the end-to-end runner), ending
# with the driver's report and PASS or FAIL.
# Usage: soak.sh BUILD_DIR. MORVANE_SOAK_SEED and MORVANE_SOAK_INPUTS change the run.
. "$(dirname "$0")/common.sh"
driver="$build/tests/soak/soak_driver.exe"
need_built "$driver"
# A thousand inputs take several minutes on a busy machine.
export MORVANE_E2E_SECONDS="${MORVANE_E2E_SECONDS:-1800}"
# The settings window's web-page link may be clicked: no browser is started for it.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe,winebrowser.exe="
"$tools/../tests/e2e/run_e2e.sh" "$build" "$driver"
