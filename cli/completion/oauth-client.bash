# bash completion for oauth-client: subcommands, their options, and file names where an option takes a file.
_oauth_client() {
  local cur prev words cword
  _init_completion 2>/dev/null || { cur=${COMP_WORDS[COMP_CWORD]}; prev=${COMP_WORDS[COMP_CWORD-1]}; cword=$COMP_CWORD; words=("${COMP_WORDS[@]}"); }
  local transport="--insecure --follow --connect-timeout --receive-timeout --timeout --tls --proxy --proxy-user
    --proxy-user-file --no-proxy --cacert --capath --cache --cache-margin --verbose --silent --show-error --help"
  local token="--token-url --grant --client-id --client-secret --client-secret-file --scope --username --password
    --password-file --param --basic-auth"
  local resource="--url --access-token --access-token-file --oauth2-bearer --header --include --output --fail
    --write-out --token-header --token-method"
  if [ "$cword" -eq 1 ]; then
    COMPREPLY=($(compgen -W "token get request header cache --help --version" -- "$cur"))
    return
  fi
  case "$prev" in
    --client-secret-file|--password-file|--access-token-file|--data-file|--proxy-user-file|--cacert|-o|--output)
      COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --capath) COMPREPLY=($(compgen -d -- "$cur")); return ;;
    --grant) COMPREPLY=($(compgen -W "client_credentials password refresh_token" -- "$cur")); return ;;
    --basic-auth) COMPREPLY=($(compgen -W "library rfc6749 raw-utf8" -- "$cur")); return ;;
    --tls) COMPREPLY=($(compgen -W "1.0 1.1 1.2 1.3" -- "$cur")); return ;;
    -X|--method|--token-method) COMPREPLY=($(compgen -W "GET POST PUT PATCH DELETE HEAD OPTIONS" -- "$cur")); return ;;
  esac
  local options
  case "${words[1]}" in
    token) options="$token $transport --header --method --raw --print --quiet" ;;
    header) options="$token $transport --header --method" ;;
    get) options="$token $resource $transport" ;;
    request) options="$token $resource $transport --method --data --data-file --data-urlencode --json --content-type" ;;
    cache) options="list clear" ;;
  esac
  COMPREPLY=($(compgen -W "$options" -- "$cur"))
}
complete -F _oauth_client oauth-client
