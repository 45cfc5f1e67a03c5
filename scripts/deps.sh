#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test both deliverables.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends \
  build-essential cmake pkg-config dpkg-dev \
  qt6-base-dev qt6-base-dev-tools libgl-dev \
  libgsl-dev libgtest-dev libgmock-dev libbenchmark-dev \
  libproj-dev proj-bin libgeographiclib-dev \
  clang libclang-rt-14-dev fonts-dejavu-core xvfb xauth python3 \
  pybind11-dev python3-dev python3-numpy python3-pytest python3-pyproj python3-dask python3-distributed
