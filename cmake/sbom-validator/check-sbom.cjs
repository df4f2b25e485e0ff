// Fails unless FOLDER (an unpacked release archive) holds one bill of
// materials (*.cdx.json) that the CycloneDX library finds valid against the
// CycloneDX 1.6 schema, naming each program and library in FOLDER with its
// SHA-256 and nothing else; and unless THIRD-PARTY-NOTICES.txt there gives
// each component the bill names its licence text: its Debian package's
// copyright file as installed here, and the GNU GPL 3 for a GPL-3.0 licence.
// Usage: node check-sbom.cjs MODULES_DIR FOLDER
'use strict';
const fs = require('fs');
const path = require('path');
const crypto = require('crypto');
const [modules, folder] = process.argv.slice(2);
const CDX = require(path.join(path.resolve(modules), '@cyclonedx/cyclonedx-library'));

const problems = [];
const names = fs.readdirSync(folder).sort();
const boms = names.filter((name) => name.endsWith('.cdx.json'));
if (boms.length !== 1) {
  console.log(`${folder}: ${boms.length} bills of materials (*.cdx.json), not one`);
  process.exit(1);
}
const text = fs.readFileSync(path.join(folder, boms[0]), 'utf8');

async function main() {
  const validator = new CDX.Validation.JsonStrictValidator('1.6');
  const errors = await validator.validate(text);
  if (errors !== null) {
    for (const error of errors.slice(0, 5)) problems.push(`not CycloneDX 1.6: ${error.instancePath || '/'} ${error.message}`);
    return;
  }
  const bom = JSON.parse(text);
  // The schema takes any version string; it is this version's schema that was checked.
  if (bom.specVersion !== '1.6') problems.push(`specVersion ${bom.specVersion}, not 1.6`);
  const components = bom.components || [];

  const hashed = components.filter((component) => component.hashes);
  const binaries = names.filter((name) => /\.(exe|dll)$/.test(name));
  for (const component of hashed) {
    const file = path.join(folder, component.name);
    const sha256 = (component.hashes.find((hash) => hash.alg === 'SHA-256') || {}).content;
    if (!fs.existsSync(file)) problems.push(`names ${component.name}, which is not beside it`);
    else if (crypto.createHash('sha256').update(fs.readFileSync(file)).digest('hex') !== sha256) {
      problems.push(`gives ${component.name} SHA-256 ${sha256}, not that of the file beside it`);
    }
  }
  for (const name of binaries) {
    if (!hashed.some((component) => component.name === name)) problems.push(`does not name ${name}`);
  }

  const notices = fs.readFileSync(path.join(folder, 'THIRD-PARTY-NOTICES.txt'), 'utf8');
  const texts = new Map();
  for (const section of notices.split(/^======== /m).slice(1)) {
    const title = section.match(/^text (\d+): (.*)\n\n/);
    if (title) texts.set(title[1], { file: title[2], body: section.slice(title[0].length) });
  }
  const hasText = (numbers, file) => numbers.some((number) => {
    const found = texts.get(number);
    return found && found.file === file && found.body.startsWith(fs.readFileSync(file, 'utf8'));
  });
  for (const component of components.filter((candidate) => candidate.purl)) {
    const [, pkg, version] = component.purl.match(/^pkg:deb\/debian\/([^@]+)@([^?]+)/).map(decodeURIComponent);
    const licence = component.licenses[0].expression || component.licenses[0].license.id;
    const line = notices.split('\n').find((candidate) =>
      candidate.startsWith(`${component.name} (`) && candidate.includes(`, Debian package ${pkg} ${version}: ${licence}; text `));
    if (!line) {
      problems.push(`${component.name} (${pkg} ${version}, ${licence}) is not listed in THIRD-PARTY-NOTICES.txt`);
      continue;
    }
    const numbers = line.replace(/.*; text /, '').split(' and ');
    const copyright = `/usr/share/doc/${pkg}/copyright`;
    if (!fs.existsSync(copyright)) problems.push(`${component.name}: cannot compare its text, ${copyright} is not installed here`);
    else if (!hasText(numbers, fs.realpathSync(copyright))) problems.push(`${component.name}: THIRD-PARTY-NOTICES.txt lacks ${copyright}`);
    if (licence.includes('GPL-3.0') && !hasText(numbers, '/usr/share/common-licenses/GPL-3')) {
      problems.push(`${component.name}: THIRD-PARTY-NOTICES.txt lacks the GNU GPL version 3`);
    }
  }
}

main().then(() => {
  if (problems.length > 0) {
    for (const problem of problems) console.log(`${boms[0]}: ${problem}`);
    process.exit(1);
  }
  console.log(`${boms[0]}: valid CycloneDX 1.6; the SHA-256 of ${names.filter((name) => /\.(exe|dll)$/.test(name)).length} files beside it; licence texts of its components in THIRD-PARTY-NOTICES.txt`);
}, (error) => {
  console.log(`${boms[0]}: cannot validate: ${error.message}`);
  process.exit(1);
});
