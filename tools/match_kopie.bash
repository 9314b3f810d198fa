# Sourced by the scripts that play matches. The shared match runner needs
# its one npm package; keep a private copy of it with the package in DIR.
match_kopie() { # shared dir, DIR
  if [ ! -f "$2/node_modules/chess.js/package.json" ]; then
    rm -rf "$2"
    cp -r "$1/tools/match" "$2"
    chmod -R u+w "$2"
    (cd "$2" && npm ci --silent >/dev/null)
  fi
}
