# bash completion for quelvane
_quelvane() {
  local cur prev
  cur="${COMP_WORDS[COMP_CWORD]}"
  prev="${COMP_WORDS[COMP_CWORD - 1]}"
  case "$cur" in
  --simulate=* | --trace=*)
    local option="${cur%%=*}"
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -P "$option=" -f -- "${cur#*=}"))
    return
    ;;
  esac
  COMPREPLY=($(compgen -W "--hidden --list --watch --json --simulate --simulate= --trace= --help" -- "$cur"))
  [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
}
complete -F _quelvane quelvane
