# Start and stop of the Node test servers (oauth2, oidc), sourced by their start and stop scripts.
#
# node_fixture_start NAME SCRIPT RUN_DIR READY_PATH
#   Runs `node SCRIPT RUN_DIR/NAME.port` in the background with its output in RUN_DIR/NAME.log, writes its pid to
#   RUN_DIR/NAME.pid, and returns once http://127.0.0.1:PORT/READY_PATH answers 200. A server of the same name
#   left behind in RUN_DIR by an earlier run is stopped first. Fails (non-zero) if the server does not come up.
# node_fixture_stop NAME SCRIPT RUN_DIR
#   Stops the server whose pid RUN_DIR/NAME.pid holds, if that process is still this server, and removes the pid
#   and port files. Succeeds when nothing runs.

node_fixture_servers_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The pid file may outlive its process and the pid be reused: only a process that runs our script is ours.
node_fixture_is_ours() {
  local pid=$1 script=$2
  [ -n "$pid" ] && [ -r "/proc/$pid/cmdline" ] && tr '\0' ' ' <"/proc/$pid/cmdline" | grep -qF -- "$script"
}

node_fixture_stop() {
  local name=$1 script=$2 run_dir=$3
  local pid_file="$run_dir/$name.pid"
  if [ -f "$pid_file" ]; then
    local pid
    pid=$(cat "$pid_file")
    if node_fixture_is_ours "$pid" "$script"; then
      kill -TERM "$pid" 2>/dev/null || true
      for _ in $(seq 50); do
        node_fixture_is_ours "$pid" "$script" || break
        sleep 0.1
      done
      if node_fixture_is_ours "$pid" "$script"; then
        kill -KILL "$pid" 2>/dev/null || true
      fi
    fi
  fi
  rm -f "$pid_file" "$run_dir/$name.port"
}

node_fixture_start() {
  local name=$1 script=$2 run_dir=$3 ready_path=$4
  if [ ! -d "$node_fixture_servers_dir/node_modules" ]; then
    echo "$name: $node_fixture_servers_dir/node_modules is missing; run scripts/install-deps" >&2
    return 1
  fi
  if ! command -v node >/dev/null 2>&1; then
    echo "$name: node is not installed; run scripts/install-deps" >&2
    return 1
  fi
  mkdir -p "$run_dir"
  node_fixture_stop "$name" "$script" "$run_dir"

  local port_file="$run_dir/$name.port" log_file="$run_dir/$name.log"
  # Detached from the caller's output: CTest waits for the pipes of a setup test to close.
  node "$script" "$port_file" </dev/null >"$log_file" 2>&1 &
  local pid=$!
  echo "$pid" >"$run_dir/$name.pid"

  local port=""
  for _ in $(seq 300); do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "$name: server exited during start; its log ($log_file):" >&2
      cat "$log_file" >&2
      rm -f "$run_dir/$name.pid"
      return 1
    fi
    if [ -s "$port_file" ]; then
      port=$(cat "$port_file")
      if curl -sf -o /dev/null --max-time 2 "http://127.0.0.1:$port/$ready_path"; then
        echo "$name: listening on 127.0.0.1:$port (pid $pid)"
        return 0
      fi
    fi
    sleep 0.1
  done
  echo "$name: no answer within 30 s; its log ($log_file):" >&2
  cat "$log_file" >&2
  node_fixture_stop "$name" "$script" "$run_dir"
  return 1
}
