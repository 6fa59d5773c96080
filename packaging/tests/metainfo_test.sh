#!/usr/bin/env bash
# The AppStream data passes the validator of the release it is checked on,
# strictly. It is written in the AppStream 1.0 form, which the software centres
# of Debian 13 read; validators older than 1.0 (Debian 12's 0.16) do not know
# its <developer> tag yet, and there that tag is the one thing they may report.
# Usage: metainfo_test.sh FILE
set -euo pipefail
report=$(appstreamcli validate --no-net --strict "$1" 2>&1) && exit 0
version=$(appstreamcli --version | sed -n 's/^AppStream version: //p')
if dpkg --compare-versions "$version" lt 1.0; then
    issues=$(grep -E '^[EWI]: ' <<<"$report" || true)
    if [ "$issues" != "" ] && ! grep -vqE ': unknown-tag developer$' <<<"$issues"; then
        echo "appstreamcli $version does not know <developer> yet: $issues"
        exit 0
    fi
fi
echo "$report" >&2
exit 1
