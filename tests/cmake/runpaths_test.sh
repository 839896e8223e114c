#!/usr/bin/env bash
# Fails when a program or library given has a RUNPATH with an empty entry: the dynamic linker
# reads one as the working directory, so a library planted there would be loaded instead.
set -uo pipefail
status=0
for file in "$@"; do
    runpath=$(readelf -d "$file" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]$/\1/p')
    [ -z "$runpath" ] && continue
    case ":$runpath:" in
    *::*)
        echo "FAIL $file: RUNPATH [$runpath] has an empty entry"
        status=1
        ;;
    esac
done
exit $status
