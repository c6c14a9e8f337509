#!/usr/bin/env python3
"""Runs tarnwell-cli's JSON reports against the example machines and checks
each against its schema in docs/schemas/.

usage: json_schemas.py SCHEMA_DIR EXAMPLES_DIR CLI [EMULATOR ARGS...]
"""
import json
import subprocess
import sys

import jsonschema

schemas, examples, cli = sys.argv[1], sys.argv[2], sys.argv[3:]

# (machine file, command line, schema or None for no report, exit code)
RUNS = [
    ("workstation.json", ["list", "--format", "json"], "list", 0),
    ("dvd-workstation.json", ["list", "--format", "json"], "list", 0),
    ("faults.json", ["list", "--format", "json"], "list", 0),
    ("dvd-workstation.json", ["optical", "E", "--format", "json"], "optical", 0),
    ("empty-cdrom.json", ["optical", "D", "--format", "json"], "optical", 0),
    ("dvd-workstation.json", ["media", "E", "--format", "json"], "media", 0),
    ("smart-healthy.json", ["smart", "0", "--format", "json"], "smart", 0),
    ("smart-failing.json", ["smart", "0", "--format", "json"], "smart", 0),
    ("workstation.json", ["smart", "0", "--format", "json"], "smart", 1),
    ("disk-health.json", ["health", "0", "--format", "json"], "health", 0),
    ("disk-health.json", ["health", "1", "--format", "json"], "health", 0),
    ("disk-health.json", ["health", "2", "--format", "json"], "health", 0),
    ("disk-health.json", ["health", "3", "--format", "json"], "health", 0),
    ("disk-health.json", ["health", "4", "--format", "json"], "health", 1),
    ("workstation.json", ["health", "0", "--format", "json"], "health", 1),
    ("smart-healthy.json", ["diskinfo", "C", "--format", "json"], "diskinfo", 0),
    ("workstation.json", ["diskinfo", "C", "--format", "json"], "diskinfo", 1),
    ("usb-disks.json", ["volumes", "--format", "json"], "volumes", 0),
    ("workstation.json", ["volumes", "--format", "json"], "volumes", 0),
    ("usb-disks.json", ["usb", "--format", "json"], "usb", 0),
    ("usb-disks.json", ["usb", "--all", "--format", "json"], "usb", 0),
    ("maintenance.json", ["bench", "E", "--format", "json"], "bench", 0),
    # A refused drive: the reason on standard error, no report.
    ("maintenance.json", ["bench", "G", "--format", "json"], None, 1),
]

failures = 0
for machine, args, schema_name, code in RUNS:
    what = f"{machine}: {' '.join(args)}"
    run = subprocess.run(cli + ["--machine", f"{examples}/{machine}"] + args, capture_output=True, text=True)
    if run.returncode != code:
        print(f"{what}: exit code {run.returncode}, expected {code}\n{run.stderr}")
        failures += 1
        continue
    if schema_name is None:
        if run.stdout or not run.stderr:
            print(f"{what}: expected only a message on standard error, got {run.stdout!r}")
            failures += 1
        else:
            print(f"{what}: refused")
        continue
    with open(f"{schemas}/{schema_name}.schema.json", encoding="utf-8") as f:
        schema = json.load(f)
    try:
        report = json.loads(run.stdout)
        jsonschema.validate(report, schema, cls=jsonschema.Draft202012Validator)
    except (ValueError, jsonschema.ValidationError) as e:
        print(f"{what}: {e}")
        failures += 1
        continue
    print(f"{what}: valid")

sys.exit(1 if failures else 0)
