#!/usr/bin/env bash
# Installs what is missing, builds the plug-ins and installs them for the current user.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

export CCACHE_BASEDIR="$PWD"
build=build-demo
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISA_BUILD_TESTS=OFF
cmake --build "$build" -j"$(nproc)" --target Brisa_VST3 Brisa_LV2 Brisa_Standalone

artefacts="$build/Brisa_artefacts/Release"
mkdir -p "$HOME/.vst3" "$HOME/.lv2"
rm -rf "$HOME/.vst3/Brisa.vst3" "$HOME/.lv2/Brisa.lv2"
cp -r "$artefacts/VST3/Brisa.vst3" "$HOME/.vst3/"
cp -r "$artefacts/LV2/Brisa.lv2" "$HOME/.lv2/"

echo
echo "Installed:"
echo "  VST3        $HOME/.vst3/Brisa.vst3"
echo "  LV2         $HOME/.lv2/Brisa.lv2"
echo "  Standalone  $PWD/$artefacts/Standalone/Brisa"
