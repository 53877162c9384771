# bash completion for wordlap(1): commands, options, option values, files.

_wordlap_files() {
  compopt -o filenames 2>/dev/null
  mapfile -t COMPREPLY < <(compgen -f -- "$1")
}

_wordlap() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local prev=${COMP_WORDS[COMP_CWORD - 1]}
  # bash splits "--format=json" at the "=" into three words.
  if [[ $cur == = ]]; then
    cur=""  # "--format=": the option is the word before
  elif [[ $prev == = ]]; then
    prev=${COMP_WORDS[COMP_CWORD - 2]}
  fi

  local commands="info compare scan trash remove link symlink move help"
  local command="" operands_only=false i
  for ((i = 1; i < COMP_CWORD; i++)); do
    if [[ -z $command ]]; then
      case ${COMP_WORDS[i]} in
        info | compare | scan | trash | remove | link | symlink | move | help)
          command=${COMP_WORDS[i]} ;;
      esac
    elif [[ ${COMP_WORDS[i]} == -- ]]; then
      operands_only=true
    fi
  done

  if ! $operands_only; then
    case $prev in
      --plugin | --files-from)
        [[ -n $command ]] && { _wordlap_files "$cur"; return; } ;;
      --format)
        [[ $command == scan ]] && {
          mapfile -t COMPREPLY < <(compgen -W "text csv json report dupes0" -- "$cur")
          return
        } ;;
      --keep)
        [[ $command == scan ]] && {
          mapfile -t COMPREPLY < <(compgen -W "default first newest oldest
            shortest-path longest-path" -- "$cur")
          return
        } ;;
      --ext | --exclude | --min-words | --min-size | --max-size)
        [[ $command == scan ]] && { COMPREPLY=(); return; } ;;
      --reference | --to)
        [[ -n $command ]] && {
          compopt -o filenames 2>/dev/null
          mapfile -t COMPREPLY < <(compgen -d -- "$cur")
          return
        } ;;
    esac
  fi

  local options
  case $command in
    "") options="-h --help --version" ;;
    info) options="-h --help --plugin" ;;
    compare) options="-h --help --explain --plugin" ;;
    scan)
      options="-h --help --files-from -0 --null --ext --follow --format -q
               --quiet --plugin --same-size --same-content --renamed-only
               --min-words --exclude --min-size --max-size --hidden --keep
               --reference" ;;
    trash | remove | link | symlink)
      options="-h --help -n --dry-run --by-name --reference -q --quiet" ;;
    move)
      options="-h --help --to -n --dry-run --by-name --reference -q --quiet" ;;
    help) options="-h --help" ;;
  esac

  if ! $operands_only && [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    return
  fi
  case $command in
    "" | help) mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur") ;;
    compare | scan | trash | remove | link | symlink | move)
      _wordlap_files "$cur" ;;
    *) COMPREPLY=() ;;
  esac
}

complete -F _wordlap wordlap
