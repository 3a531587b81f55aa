#!/usr/bin/env bash
# Test services, sourced by the test scripts: services_start exports what the suites need to find
# them; services_stop ends them. Nothing here touches the machine's own configuration.
services_start() {
  :
}
services_stop() {
  :
}
