# zsh -f zsh_complete.zsh COMPLETION_DIR LINE
# Prints the candidates that zsh completion offers at the end of LINE, one a
# line, using the completion functions in COMPLETION_DIR. It types LINE and a
# tab into an interactive zsh on a pseudo-terminal, where compadd prints each
# candidate instead of adding it.
zmodload zsh/zpty
zpty shell zsh -f -i
zpty -w shell "PS1= PS2= fpath=(${(q)1} \$fpath); autoload -Uz compinit; compinit -u -D"
zpty -w shell 'compadd () {
  if [[ ${@[1,(i)(-|--)]} == *-(O|A|D)\ * ]]; then builtin compadd "$@"; return; fi
  local -a hits; builtin compadd -A hits "$@"
  local hit; for hit in $hits; do print -r -- "<candidate>${(Q)hit}"; done
}'
# Completion runs in a widget that prints the end marker itself once it is
# done: keys typed ahead of a pending completion can make zsh skip it, so
# nothing is sent after the key that starts it.
zpty -w shell 'probe () { zle complete-word; print -r -- "<do""ne>"; }
zle -N probe; bindkey "^X" probe'
# The quotes keep the echoed commands from matching the markers.
zpty -w shell "print '<rea''dy>'"
zpty -r shell skipped '*<ready>*'
zpty -n -w shell "$2"$'\C-x'
zpty -r shell out '*<done>*'
zpty -d shell
local -a parts=("${(@s:<candidate>:)${out%<done>*}}")
local part
for part in "${(@)parts[2,-1]}"; do print -r -- "${part%%[$'\r\n']*}"; done
