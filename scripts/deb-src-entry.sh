#!/usr/bin/env bash
# Prints a deb822 source entry ("Types: deb-src") for every Debian binary entry of this machine's
# own apt configuration that serves its release, so `apt-get source` fetches from where the
# machine already gets its packages. Entries of other suites (third-party repositories) are left
# out: they serve no source packages we need and could make `apt-get update` fail.
set -euo pipefail
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")

# deb822 files: copy each stanza of type deb whose suites include the release, as deb-src.
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  awk -v codename="$codename" '
    function flush() {
      if (isDeb && serves) { printf "%s", stanza; print "" }
      stanza = ""; isDeb = 0; serves = 0
    }
    /^[ \t]*$/ { flush(); next }
    /^#/ { next }
    /^Types:/ { isDeb = ($0 ~ /[ \t]deb([ \t]|$)/); stanza = stanza "Types: deb-src\n"; next }
    /^Suites:/ { n = split($0, words, /[ \t]+/); for (i = 2; i <= n; i++) if (words[i] == codename) serves = 1 }
    { stanza = stanza $0 "\n" }
    END { flush() }
  ' "$f"
done

# One-line format: "deb [options] URI suite components" becomes a deb822 stanza.
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] || continue
  awk -v codename="$codename" '
    $1 != "deb" { next }
    {
      i = 2; options = ""
      if ($2 ~ /^\[/) { while ($i !~ /\]$/) { options = options " " $i; i++ } options = options " " $i; i++ }
      uri = $i; suite = $(i + 1); components = ""
      for (j = i + 2; j <= NF; j++) components = components (components == "" ? "" : " ") $j
      if (suite != codename && suite != codename "-updates") next
      print "Types: deb-src"; print "URIs: " uri; print "Suites: " suite; print "Components: " components
      if (match(options, /signed-by=[^ \]]+/)) print "Signed-By: " substr(options, RSTART + 10, RLENGTH - 10)
      print ""
    }
  ' "$f"
done
