#!/bin/bash
# A NetworkManager of the test's own, with a system bus and polkitd, inside a network
# namespace and a mount namespace of its own; a DHCP server (dnsmasq) on the far end of
# the veth, in a second network namespace. Sourced by the NetworkManager tests.
#
# Nothing of the machine is changed: the bus socket (/run/dbus), NetworkManager's folders,
# polkit's rule and action folders and /sys are private mounts of this script's mount
# namespace, which ends with it. NetworkManager never replaces a resolv.conf of the
# machine (rc-manager=unmanaged) and manages only the test's veth. The one thing made
# outside is the test user, removed again at the end.
#
# Use: the test script re-executes itself through stage_enter (which needs root), then
# calls stage_start, and runs commands in the namespace with stage_run / stage_as_user.

stage_skip() {
  echo "SKIPPED: $*" >&2
  # On CI these tests must run: a skip there is a failure.
  if [ "${QUORREL_REQUIRE_NM_TESTS:-0}" = 1 ]; then
    exit 1
  fi
  exit 77
}

stage_check_tools() {
  [ "$(id -u)" = 0 ] || stage_skip "needs root (network and mount namespaces)"
  local tool
  for tool in NetworkManager nmcli nm-online dbus-daemon dbus-send /usr/lib/polkit-1/polkitd \
    /usr/bin/pkexec dnsmasq setpriv nsenter unshare useradd userdel ip; do
    command -v "$tool" >/dev/null || stage_skip "$tool is not installed (scripts/install-deps.sh test)"
  done
}

# Runs the calling script once more in a mount namespace of its own.
stage_enter() {
  if [ "${QUORREL_NM_STAGE_INSIDE:-0}" != 1 ]; then
    stage_check_tools
    QUORREL_NM_STAGE_INSIDE=1 exec unshare --mount --propagation private -- "$0" "$@"
  fi
}

STAGE_NS="qnm$$"
STAGE_PEER="qnmp$$"
STAGE_IF="qnm0"
STAGE_USER="qnmuser$$"
STAGE_DIR=""
STAGE_PIDS=()

stage_run() { nsenter --net="/run/netns/$STAGE_NS" -- "$@"; }
# Starts a daemon in the namespace in the background; $1 is its log. nsenter becomes the
# daemon, so the remembered process is the daemon itself.
stage_spawn() {
  local log=$1
  shift
  nsenter --net="/run/netns/$STAGE_NS" -- "$@" >>"$log" 2>&1 &
  STAGE_LAST_PID=$!
  STAGE_PIDS+=("$STAGE_LAST_PID")
}
stage_as_user() {
  nsenter --net="/run/netns/$STAGE_NS" -- \
    setpriv --reuid="$STAGE_USER" --regid="$STAGE_USER" --init-groups -- "$@"
}

# Waits up to $1 seconds for the command after it to succeed.
stage_wait() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

stage_stop() {
  local pid
  for pid in "${STAGE_PIDS[@]}"; do
    kill "$pid" 2>/dev/null
  done
  for pid in "${STAGE_PIDS[@]}"; do
    wait "$pid" 2>/dev/null
  done
  STAGE_PIDS=()
  ip netns del "$STAGE_NS" 2>/dev/null
  ip netns del "$STAGE_PEER" 2>/dev/null
  if id "$STAGE_USER" >/dev/null 2>&1; then
    userdel "$STAGE_USER" 2>/dev/null
  fi
  if [ -n "$STAGE_DIR" ]; then
    umount -R "$STAGE_DIR" 2>/dev/null
    rm -rf "$STAGE_DIR"
  fi
}

stage_bus_answers() {
  stage_run dbus-send --system --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.GetId
}
stage_name_owned() {
  stage_run dbus-send --system --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" | grep -q "boolean true"
}

stage_name_free() { ! stage_name_owned "$1"; }

# polkitd reads its rules when it starts: a change of rules restarts it.
stage_start_polkit() {
  if [ -n "${STAGE_POLKIT_PID:-}" ]; then
    kill "$STAGE_POLKIT_PID" 2>/dev/null
    wait "$STAGE_POLKIT_PID" 2>/dev/null
    stage_wait 10 stage_name_free org.freedesktop.PolicyKit1
  fi
  stage_spawn "$STAGE_DIR/polkitd.log" /usr/lib/polkit-1/polkitd --no-debug
  STAGE_POLKIT_PID=$STAGE_LAST_PID
  stage_wait 20 stage_name_owned org.freedesktop.PolicyKit1 || {
    echo "polkitd did not come up" >&2
    return 1
  }
}

# Lets the test user do what NetworkManager asks polkit about, or takes that back.
stage_allow_user() {
  cat >"$STAGE_DIR/rules/50-quorrel-test.rules" <<EOF
polkit.addRule(function(action, subject) {
    if (subject.user == "$STAGE_USER" &&
        (action.id.indexOf("org.freedesktop.NetworkManager.") == 0 ||
         action.id == "org.varnok.quorrel.netsh" ||
         action.id == "org.freedesktop.policykit.exec")) {
        return polkit.Result.YES;
    }
});
EOF
  stage_start_polkit
}
stage_disallow_user() {
  rm -f "$STAGE_DIR/rules/50-quorrel-test.rules"
  stage_start_polkit
}

# $1: the netsh to run as root through pkexec; its path goes into the private copy of the
# polkit actions the way the package's policy names the installed one.
stage_start() {
  local netsh_path="${1:-}"
  STAGE_DIR=$(mktemp -d /tmp/quorrel-nm.XXXXXX)
  chmod 755 "$STAGE_DIR"
  trap stage_stop EXIT
  mkdir -p "$STAGE_DIR"/{run-dbus,run-nm,var-nm,services,conf.d,sysconf.d,keyfiles,rules,actions}
  mkdir -p /run/dbus /run/NetworkManager /var/lib/NetworkManager

  mount --bind "$STAGE_DIR/run-dbus" /run/dbus
  mount --bind "$STAGE_DIR/run-nm" /run/NetworkManager
  mount --bind "$STAGE_DIR/var-nm" /var/lib/NetworkManager
  mount --bind "$STAGE_DIR/rules" /etc/polkit-1/rules.d
  cp -a /usr/share/polkit-1/actions/. "$STAGE_DIR/actions/"
  if [ -n "$netsh_path" ]; then
    sed "s|/usr/libexec/quorrel/netsh|$netsh_path|" "$STAGE_SOURCE_DIR/packaging/org.varnok.quorrel.netsh.policy" \
      >"$STAGE_DIR/actions/org.varnok.quorrel.netsh.policy"
  fi
  mount --bind "$STAGE_DIR/actions" /usr/share/polkit-1/actions

  useradd --no-create-home --shell /usr/sbin/nologin "$STAGE_USER" || return 1

  ip netns add "$STAGE_NS" && ip netns add "$STAGE_PEER" || return 1
  ip link add "$STAGE_IF" netns "$STAGE_NS" type veth peer name qnm1 netns "$STAGE_PEER" ||
    return 1
  stage_run ip link set lo up
  ip -n "$STAGE_PEER" link set lo up
  ip -n "$STAGE_PEER" addr add 10.77.0.1/24 dev qnm1
  ip -n "$STAGE_PEER" link set qnm1 up
  # NetworkManager waits for udev when /sys is writable: a read-only sysfs of the
  # namespace tells it there is none.
  stage_run mount -t sysfs -o ro sysfs /sys

  # The system bus, with an empty folder of services it may start: nothing else comes up.
  sed -e "s|<standard_system_servicedirs/>|<servicedir>$STAGE_DIR/services</servicedir>|" \
    -e "s|<includedir>system.d</includedir>|<includedir>/usr/share/dbus-1/system.d</includedir>|" \
    /usr/share/dbus-1/system.conf >"$STAGE_DIR/system.conf"
  stage_spawn "$STAGE_DIR/dbus.log" dbus-daemon --nofork --config-file="$STAGE_DIR/system.conf"
  stage_wait 20 stage_bus_answers || {
    echo "the system bus did not come up" >&2
    return 1
  }
  stage_start_polkit || return 1

  cat >"$STAGE_DIR/NetworkManager.conf" <<EOF
[main]
plugins=keyfile
no-auto-default=*
dns=default
rc-manager=unmanaged
systemd-resolved=false
auth-polkit=true
dhcp=internal

[keyfile]
path=$STAGE_DIR/keyfiles
unmanaged-devices=except:interface-name:$STAGE_IF

[logging]
level=INFO
EOF
  stage_spawn "$STAGE_DIR/nm.log" NetworkManager --no-daemon --config="$STAGE_DIR/NetworkManager.conf" \
    --config-dir="$STAGE_DIR/conf.d" --system-config-dir="$STAGE_DIR/sysconf.d" \
    --intern-config="$STAGE_DIR/intern.conf" --state-file="$STAGE_DIR/var-nm/NetworkManager.state" \
    --pid-file="$STAGE_DIR/run-nm/nm.pid"
  stage_run nm-online -s -q -t 30 || true
  stage_wait 30 sh -c "nsenter --net=/run/netns/$STAGE_NS -- nmcli -t -f DEVICE,STATE dev | grep -qx '$STAGE_IF:disconnected'" || {
    echo "NetworkManager did not take $STAGE_IF" >&2
    tail -20 "$STAGE_DIR/nm.log" >&2
    return 1
  }

  # --no-ping: the lease comes at once. The lease names the DNS server 10.77.0.53.
  ip netns exec "$STAGE_PEER" dnsmasq --no-daemon --conf-file=/dev/null --port=0 --no-ping \
    --interface=qnm1 --bind-interfaces --dhcp-range=10.77.0.100,10.77.0.150,12h \
    --dhcp-option=3,10.77.0.1 --dhcp-option=6,10.77.0.53 --dhcp-leasefile="$STAGE_DIR/leases" \
    >"$STAGE_DIR/dnsmasq.log" 2>&1 &
  STAGE_PIDS+=($!)
}

# NetworkManager's resolv.conf for this namespace.
stage_resolv_conf() { cat "$STAGE_DIR/run-nm/resolv.conf" 2>/dev/null; }
