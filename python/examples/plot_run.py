import chromiva, matplotlib.pyplot as plt
doc = chromiva.load("run.cvdata")
result = doc.processed(sensor=0, mode=0)  # dark-corrected, on the 340-850 nm grid
plt.plot(result.wavelengths, result.spectrum.T, linewidth=0.7); plt.xlabel("wavelength (nm)"); plt.ylabel("counts")
plt.title(f"{doc.sensors[0].serial}: {len(result.spectrum)} records"); plt.savefig("python-example.png", dpi=100)
