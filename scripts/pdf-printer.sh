#!/usr/bin/env bash
# Sets up a printer queue "Mivo_PDF" that writes PDF files instead of paper
# (CUPS with cups-pdf), for trying receipts and kitchen tickets without a printer
# and for the end-to-end print test. PDFs land in ~/PDF of the printing user
# (/root/PDF for root). Debian; run as root or with sudo.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in cups cups-pdf poppler-utils; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Containers and CI machines often have no service manager: start the scheduler by hand.
if ! lpstat -r >/dev/null 2>&1; then
    $SUDO /usr/sbin/cupsd
    for _ in $(seq 1 50); do
        lpstat -r >/dev/null 2>&1 && break
        sleep 0.2
    done
fi

if ! lpstat -p Mivo_PDF >/dev/null 2>&1; then
    $SUDO lpadmin -p Mivo_PDF -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
fi
# Convert jobs to PostScript with cairo: the printed text stays text in the PDF
# (with the default converter pdftotext finds no Chinese in it).
$SUDO lpadmin -p Mivo_PDF -o pdftops-renderer-default=pdftocairo
lpstat -p Mivo_PDF
