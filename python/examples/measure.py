import chromiva
print(chromiva.detect())  # what chromiva-cli devices lists
with chromiva.Spectrometer() as spec:  # the first spectrometer; closed at the end of the block
    spec.exposure_ms = 50
    counts = spec.spectrum(average=4); print(spec.serial, spec.temperature, counts.max())
